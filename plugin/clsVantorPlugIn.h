#pragma once
#include <memory>
#include <string>

#include "interface/VantorTypeLib.h"

// The one class the host creates: it answers the host's questions, keeps the
// helper object and hands over the main window in the module information.
class clsVantorPlugIn : public VantorTypeLib::IPlugInObject,
                        private VantorTypeLib::IVantorPlugin,
                        private VantorTypeLib::IVantorModule {
 public:
  static constexpr const char* kModuleGuid = "{6f1c2a94-3b7e-4d58-9a0c-e25b81f4d7a3}";

  // The class's own read-only property ("Sonvero v0.16.0a"); the plug-in
  // interface reads it.
  std::string PluginName() override;

  VantorTypeLib::IVantorPlugin& plugin() override { return *this; }
  VantorTypeLib::IVantorModule& module() override { return *this; }

 private:
  bool Init(std::string& callingAppTitle, std::string& myFilename,
            std::shared_ptr<VantorTypeLib::IPluginHelper> vantorPluginHelper) override;
  bool Term() override { return true; }
  bool Enable() override { return true; }
  bool Disable() override { return false; }
  bool Configure() override { return true; }
  std::int32_t MessageHandle(std::int32_t&, std::int32_t&, std::int32_t&) override { return 0; }
  std::unique_ptr<VantorTypeLib::ModuleInfo> GetModuleInfo() override;
};
