#include "bridge/vbvis.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "bridge/analysis/pixel_bands.h"
#include "bridge/bridge.h"
#include "bridge/capture/pulse_server.h"

namespace {

using vbvis::Bridge;

// Two hexadecimal digits per bin, as many as fit in `length`.
void writeHex(const vbvis::Analysis& analysis, char* buffer, std::int32_t length) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const std::size_t room = static_cast<std::size_t>(length);
  for (std::size_t i = 0; i < analysis.pixels.size() && 2 * i < room; ++i) {
    buffer[2 * i] = kDigits[analysis.pixels[i] >> 4];
    if (2 * i + 1 < room) buffer[2 * i + 1] = kDigits[analysis.pixels[i] & 0xF];
  }
}

// The C API's codes for how a source fares.
int32_t stateCode(vbvis::SourceState::Code code) {
  switch (code) {
    case vbvis::SourceState::Code::Playing:
      return VBVIS_STATE_PLAYING;
    case vbvis::SourceState::Code::Connecting:
      return VBVIS_STATE_CONNECTING;
    case vbvis::SourceState::Code::NoServer:
      return VBVIS_STATE_NO_SERVER;
    case vbvis::SourceState::Code::NoSource:
      return VBVIS_STATE_NO_SOURCE;
  }
  return VBVIS_STATE_PLAYING;
}

}  // namespace

extern "C" {

// Both sides read the same spectrum, analysed from the mix.
int16_t vbvis_spectrum(int32_t /*side*/, char* buffer, int32_t length) {
  Bridge& b = Bridge::instance();
  const bool write = buffer && length > 0;
  switch (b.kind()) {
    case Bridge::Kind::Script:
      if (write) std::memcpy(buffer, b.script().text.data(), std::min(static_cast<size_t>(length), b.script().text.size()));
      return b.script().count;
    case Bridge::Kind::Silence:
      if (write) std::memset(buffer, '0', static_cast<size_t>(std::min(length, 2 * vbvis::kPixelCount)));
      return vbvis::kPixelCount;
    case Bridge::Kind::Analysed:
      break;
  }
  const vbvis::Analysis& analysis = b.current();
  if (write) writeHex(analysis, buffer, length);
  return vbvis::kPixelCount;
}

int16_t vbvis_vu(int32_t side) {
  Bridge& b = Bridge::instance();
  switch (b.kind()) {
    case Bridge::Kind::Script:
      return b.noteLevel(side == 0 ? b.script().left : b.script().right);
    case Bridge::Kind::Silence:
      return b.noteLevel(0);
    case Bridge::Kind::Analysed:
      break;
  }
  const vbvis::Analysis& analysis = b.current();
  return b.noteLevel(side == 0 ? analysis.left : analysis.right);
}

int16_t vbvis_peak_level(void) { return Bridge::instance().takePeakLevel(); }

int32_t vbvis_install_plugin(void) { return 0; }

int32_t vbvis_tracker(vbvis_tracker_state* out) {
  if (!out) return -1;
  Bridge& b = Bridge::instance();
  const vbvis::TrackerState state = b.tracker().hands().show(b.tracker().read(), b.clockUs());
  *out = {state.bpm, state.confidence, state.locked ? 1 : 0, state.periodUs, {}};
  std::copy(state.nextBeatsUs.begin(), state.nextBeatsUs.end(), out->next_beats_us);
  return out->locked;
}

int64_t vbvis_clock_us(void) { return Bridge::instance().clockUs(); }

int32_t vbvis_tracker_tap(int64_t at_us) { return Bridge::instance().tracker().hands().tap(at_us); }

void vbvis_tracker_nudge(int64_t us) { Bridge::instance().tracker().hands().nudge(us); }

void vbvis_tracker_nudge_half(void) { Bridge::instance().tracker().hands().nudgeHalf(); }

void vbvis_tracker_hold(int32_t hold) {
  Bridge& b = Bridge::instance();
  b.tracker().hands().hold(hold != 0, b.tracker().read(), b.clockUs());
}

int32_t vbvis_tracker_held(void) { return Bridge::instance().tracker().hands().held() ? 1 : 0; }

void vbvis_tracker_update(void) {
  // Memory running out must not leave the C function as an exception.
  try {
    Bridge::instance().updateTracker();
  } catch (const std::exception&) {
  }
}

int32_t vbvis_open(const char* uri) {
  if (!uri) return -1;
  // Nothing may leave a C function as an exception (a thread that cannot
  // start, memory running out): the old source stays.
  try {
    return Bridge::instance().open(uri) ? 0 : -1;
  } catch (const std::exception&) {
    return -1;
  }
}

void vbvis_close(void) { Bridge::instance().close(); }

const char* vbvis_source_uri(void) { return Bridge::instance().uri().c_str(); }

const char* vbvis_open_error(void) { return Bridge::instance().openError().c_str(); }

int32_t vbvis_state(char* text, int32_t length) {
  std::string line;
  const int32_t state = stateCode(Bridge::instance().state(line));
  if (text && length > 0) {
    const std::size_t n = std::min(line.size(), static_cast<std::size_t>(length) - 1);
    std::memcpy(text, line.data(), n);
    text[n] = '\0';
  }
  return state;
}

void vbvis_set_clock(vbvis_clock_fn clock, void* context) { Bridge::instance().setClock(clock, context); }

void vbvis_script_spectrum(int16_t count, const char* text, int32_t length) {
  Bridge::instance().script().count = count;
  Bridge::instance().script().text.assign(text ? text : "", text && length > 0 ? static_cast<size_t>(length) : 0);
}

void vbvis_script_vu(int16_t left, int16_t right) {
  Bridge::instance().script().left = left;
  Bridge::instance().script().right = right;
}

int32_t vbvis_sound_server_available(void) { return vbvis::soundServerAnswers() ? 1 : 0; }

int32_t vbvis_list_sources(vbvis_source_fn visit, void* context) {
  std::vector<vbvis::CaptureSource> sources;
  if (!vbvis::listCaptureSources(sources)) return -1;
  if (visit)
    for (const vbvis::CaptureSource& s : sources) visit(s.name.c_str(), s.description.c_str(), context);
  return static_cast<int32_t>(sources.size());
}

int32_t vbvis_bin_count(void) { return vbvis::kPixelCount; }

int32_t vbvis_bin_range(int32_t bin, double* from, double* to) {
  if (bin < 0 || bin >= vbvis::kPixelCount) return -1;
  const vbvis::FrequencyRange range = vbvis::pixelRange(bin);
  if (from) *from = range.fromHz;
  if (to) *to = range.toHz;
  return 0;
}

}  // extern "C"
