#include "bridge/capture/capture_sink.h"

#include <cstdio>

namespace vbvis {

void CaptureSink::giveUp(const char* why) noexcept {
  TrackerTap* tap = tap_.exchange(nullptr);
  if (!tap) return;
  tap->abandon();
  std::fprintf(stderr, "vbvis: the beat tracker stopped (%s); the audio goes on without it\n", why);
}

}  // namespace vbvis
