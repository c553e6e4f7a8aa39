#pragma once
#include <memory>
#include <string>

#include "interface/VantorTypeLib.h"
#include "interface/plugin_design.h"

namespace vantorhost {

// A plug-in library opened with dlopen: its factory and its design interface.
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
  IPluginDesign* design() const { return design_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  void* handle_ = nullptr;
  VantorTypeLib::FactoryFunction factory_ = nullptr;
  IPluginDesign* design_ = nullptr;
};

// The default plug-in, libsonvero.so, shipped with the program.
std::string defaultPluginPath();

}  // namespace vantorhost
