#pragma once
#include <memory>
#include <string>

#include "interface/VantorTypeLib.h"
#include "interface/plugin_diagnostics.h"

namespace vantorhost {

// A plug-in library opened with dlopen: its factory and diagnostics.
class PluginLibrary {
 public:
  // Throws std::runtime_error with dlerror's text when the library or its
  // factory cannot be found.
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // A new plug-in object; throws std::runtime_error when the factory gives none.
  std::unique_ptr<VantorTypeLib::IPlugInObject> create() const;
  IPluginDiagnostics* diagnostics() const { return diagnostics_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  void* handle_ = nullptr;
  VantorTypeLib::FactoryFunction factory_ = nullptr;
  IPluginDiagnostics* diagnostics_ = nullptr;
};

// A library that ships with the program: beside the executable (the build
// tree) or in ../lib/sonvero (an installed copy). A full path, so that the
// loader needs no run path: a sanitizer's dlopen would not carry the
// program's.
std::string shippedLibraryPath(const std::string& fileName);

// The default plug-in, libsonvero.so, found that way.
std::string defaultPluginPath();

}  // namespace vantorhost
