#include "plugin/clsVantorPlugIn.h"

#include "hostlink/vantor.h"
#include "model/plugin_identity.h"
#include "ui/Main.h"

std::string clsVantorPlugIn::PluginName() {
  return std::string(PluginIdentity::kTitle) + " v" + PluginIdentity::kVersion;
}

bool clsVantorPlugIn::Init(std::string&, std::string&,
                           std::shared_ptr<VantorTypeLib::IPluginHelper> vantorPluginHelper) {
  Vantor::pluginHelper = std::move(vantorPluginHelper);
  return true;
}

std::unique_ptr<VantorTypeLib::ModuleInfo> clsVantorPlugIn::GetModuleInfo() {
  auto info = std::make_unique<VantorTypeLib::ModuleInfo>();
  info->setGuid(kModuleGuid);
  info->setName(PluginIdentity::kTitle);
  info->setDescription("Erweiterte Brivola Steuerung");
  info->setAuthor(PluginIdentity::kAuthor);
  info->setShowInMenu(-1);
  info->setShowInToolbar(-1);
  info->setKind(2);
  info->setTemplateName("frmTutorMain");
  info->setWindow(&mainForm());
  info->setHelpContext(0);
  info->setIconIndex(0);
  info->setStartWithHost(-1);
  info->setSingleInstance(-1);
  auto& parameters = info->Parameters();
  parameters.push_back(3);
  parameters.push_back(15);
  return info;
}
