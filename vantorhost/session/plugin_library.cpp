#include "vantorhost/session/plugin_library.h"

#include <dlfcn.h>

#include <stdexcept>

#include "vantorhost/base/shipped_library.h"

namespace vantorhost {

PluginLibrary::PluginLibrary(const std::string& path) : path_(path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) throw std::runtime_error(std::string("cannot load plug-in: ") + dlerror());
  factory_ = reinterpret_cast<VantorTypeLib::FactoryFunction>(dlsym(handle_, VantorTypeLib::kFactorySymbol));
  auto design = reinterpret_cast<DesignFunction>(dlsym(handle_, kDesignSymbol));
  if (!factory_) {
    dlclose(handle_);
    throw std::runtime_error("not a Vantor plug-in (no " + std::string(VantorTypeLib::kFactorySymbol) + "): " + path);
  }
  design_ = design ? design() : nullptr;
}

PluginLibrary::~PluginLibrary() {
  if (handle_) dlclose(handle_);
}

std::unique_ptr<VantorTypeLib::IPlugInObject> PluginLibrary::create() const {
  std::unique_ptr<VantorTypeLib::IPlugInObject> object(factory_());
  if (!object)
    throw std::runtime_error("the plug-in made no plug-in object (" + std::string(VantorTypeLib::kFactorySymbol) +
                             " gave nothing): " + path_);
  return object;
}

std::string defaultPluginPath() { return shippedLibraryPath("libsonvero.so"); }

}  // namespace vantorhost
