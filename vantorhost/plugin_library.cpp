#include "vantorhost/plugin_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

namespace vantorhost {

PluginLibrary::PluginLibrary(const std::string& path) : path_(path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) throw std::runtime_error(std::string("cannot load plug-in: ") + dlerror());
  factory_ = reinterpret_cast<VantorTypeLib::FactoryFunction>(dlsym(handle_, VantorTypeLib::kFactorySymbol));
  auto diagnostics = reinterpret_cast<DiagnosticsFunction>(dlsym(handle_, kDiagnosticsSymbol));
  if (!factory_) {
    dlclose(handle_);
    throw std::runtime_error("not a Vantor plug-in (no " + std::string(VantorTypeLib::kFactorySymbol) + "): " + path);
  }
  diagnostics_ = diagnostics ? diagnostics() : nullptr;
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

std::string shippedLibraryPath(const std::string& fileName) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fileName;
  for (const fs::path& candidate : {exe.parent_path() / fileName,
                                    exe.parent_path().parent_path() / "lib" / "sonvero" / fileName})
    if (fs::exists(candidate)) return candidate.string();
  return (exe.parent_path() / fileName).string();
}

std::string defaultPluginPath() { return shippedLibraryPath("libsonvero.so"); }

}  // namespace vantorhost
