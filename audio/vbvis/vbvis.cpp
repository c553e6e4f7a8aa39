#include "audio/vbvis/vbvis.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

enum class Kind { Silence, Script };

struct Bridge {
  Kind kind = Kind::Script;
  std::string uri = "script";
  std::int16_t scriptCount = 0;
  std::string scriptText;
  std::int16_t scriptLeft = 0, scriptRight = 0;
  vbvis_clock_fn clock = nullptr;
  void* clockContext = nullptr;
};

Bridge& bridge() {
  static Bridge b;
  return b;
}

}  // namespace

extern "C" {

int16_t vbvis_spectrum(int32_t side, char* buffer, int32_t length) {
  Bridge& b = bridge();
  if (b.kind == Kind::Silence) {
    if (buffer && length > 0) std::memset(buffer, '0', static_cast<size_t>(std::min(length, 2 * 288)));
    return 288;
  }
  if (buffer && length > 0) {
    size_t n = std::min(static_cast<size_t>(length), b.scriptText.size());
    std::memcpy(buffer, b.scriptText.data(), n);
  }
  return b.scriptCount;
}

int16_t vbvis_vu(int32_t side) {
  Bridge& b = bridge();
  if (b.kind == Kind::Silence) return 0;
  return side == 0 ? b.scriptLeft : b.scriptRight;
}

int32_t vbvis_install_plugin(void) { return 0; }

int32_t vbvis_open(const char* uri) {
  if (!uri) return -1;
  std::string u(uri);
  Bridge& b = bridge();
  if (u == "script") b.kind = Kind::Script;
  else if (u == "silence") b.kind = Kind::Silence;
  else return -1;
  b.uri = u;
  return 0;
}

void vbvis_close(void) {
  Bridge& b = bridge();
  b.kind = Kind::Silence;
  b.uri = "silence";
}

const char* vbvis_source_uri(void) { return bridge().uri.c_str(); }

void vbvis_set_clock(vbvis_clock_fn clock, void* context) {
  bridge().clock = clock;
  bridge().clockContext = context;
}

void vbvis_script_spectrum(int16_t count, const char* text, int32_t length) {
  Bridge& b = bridge();
  b.scriptCount = count;
  b.scriptText.assign(text ? text : "", text && length > 0 ? static_cast<size_t>(length) : 0);
}

void vbvis_script_vu(int16_t left, int16_t right) {
  bridge().scriptLeft = left;
  bridge().scriptRight = right;
}

}  // extern "C"
