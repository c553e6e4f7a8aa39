#include "bridge/capture/pulse_server.h"

#include <pulse/introspect.h>

#include <algorithm>

#include "bridge/capture/pulse_connection.h"

namespace vbvis {

namespace {

using namespace std::chrono_literals;

constexpr auto kAnswerWithin = 1000ms;

struct Listing {
  std::vector<CaptureSource>* sources;
  bool done = false;
};

void onSource(pa_context*, const pa_source_info* info, int eol, void* userdata) {
  auto* listing = static_cast<Listing*>(userdata);
  if (eol) {
    listing->done = true;
    return;
  }
  if (info)
    listing->sources->push_back({info->name ? info->name : "", info->description ? info->description : "",
                                 info->monitor_of_sink != PA_INVALID_INDEX});
}

}  // namespace

bool soundServerAnswers() {
  PulseConnection connection;
  return connection.connect(kAnswerWithin);
}

bool listCaptureSources(std::vector<CaptureSource>& sources) {
  sources.clear();
  PulseConnection connection;
  if (!connection.connect(kAnswerWithin)) return false;
  Listing listing{&sources};
  pa_operation* op = pa_context_get_source_info_list(connection.context(), &onSource, &listing);
  if (!op) return false;
  const auto deadline = std::chrono::steady_clock::now() + kAnswerWithin;
  while (!listing.done && std::chrono::steady_clock::now() < deadline && connection.iterate(50ms)) {
  }
  pa_operation_cancel(op);
  pa_operation_unref(op);
  // What the computer plays is what a light show mostly follows.
  std::stable_partition(sources.begin(), sources.end(), [](const CaptureSource& s) { return s.monitor; });
  return listing.done;
}

}  // namespace vbvis
