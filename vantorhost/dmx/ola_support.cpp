#include "vantorhost/dmx/ola_support.h"

#include <dlfcn.h>

#include "vantorhost/base/shipped_library.h"

namespace vantorhost {

namespace {

constexpr const char* kLibrary = "libsonvero-ola.so";
constexpr const char* kEntry = "sonvero_ola_connect";

struct Loaded {
  OlaConnect connect = nullptr;
  std::string why;
};

Loaded load() {
  // Never closed: the links it makes keep their code there.
  void* handle = dlopen(shippedLibraryPath(kLibrary).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return {nullptr, dlerror()};
  auto entry = reinterpret_cast<OlaConnect (*)()>(dlsym(handle, kEntry));
  if (!entry) return {nullptr, std::string(kLibrary) + " has no " + kEntry};
  return {entry(), {}};
}

}  // namespace

OlaConnect olaSupport(std::string& why) {
  static const Loaded loaded = load();
  why = loaded.why;
  return loaded.connect;
}

}  // namespace vantorhost
