#pragma once
// The host's type library: the interfaces a plug-in implements, the helper
// object it calls, and the module-information class. Shared by the host
// stand-in and the plug-in.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tk {
class Form;
}

namespace VantorTypeLib {

// An argument of a late-bound call, with the width it was passed with.
struct Variant {
  enum class Type { Integer16, Integer32, Boolean };
  Type type;
  std::int32_t value;
  static Variant i16(std::int16_t v) { return {Type::Integer16, v}; }
  static Variant i32(std::int32_t v) { return {Type::Integer32, v}; }
  static Variant boolean(bool v) { return {Type::Boolean, v ? -1 : 0}; }
};

// The helper object's members, reached by name from the plug-in. Calls may
// throw; the plug-in never lets that stop its tick. A busy show makes
// hundreds of thousands of channel calls a tick, so a host answers them
// without allocating, and a channel that keeps its value costs it a compare.
class IMyStream {
 public:
  virtual ~IMyStream() = default;
  virtual void UserInteraction() = 0;
  virtual void SetChannel(Variant& channel, Variant& value, const Variant& flag) = 0;
};

class IMessages {
 public:
  virtual ~IMessages() = default;
  virtual void Send(const Variant& message, const Variant& arg1, const Variant& arg2) = 0;
};

// MyStream() and Messages() hand out the same objects for the helper's whole
// life, so a plug-in may look them up once.
class IPluginHelper {
 public:
  virtual ~IPluginHelper() = default;
  virtual IMyStream& MyStream() = 0;
  virtual IMessages& Messages() = 0;
};

// The host's module-information class. The plug-in fills it; the host reads
// the entries, loads `window` and shows it. Each assignment is remembered in
// order, so the host can tell what was set and when.
class ModuleInfo {
 public:
  enum class Entry {
    Guid, Name, Description, Author, ShowInMenu, ShowInToolbar, Kind, TemplateName,
    Window, HelpContext, IconIndex, StartWithHost, SingleInstance, Parameters
  };

  void setGuid(std::string v) { guid = std::move(v); note(Entry::Guid); }
  void setName(std::string v) { name = std::move(v); note(Entry::Name); }
  void setDescription(std::string v) { description = std::move(v); note(Entry::Description); }
  void setAuthor(std::string v) { author = std::move(v); note(Entry::Author); }
  void setShowInMenu(std::int32_t v) { showInMenu = v; note(Entry::ShowInMenu); }
  void setShowInToolbar(std::int32_t v) { showInToolbar = v; note(Entry::ShowInToolbar); }
  void setKind(std::int32_t v) { kind = v; note(Entry::Kind); }
  void setTemplateName(std::string v) { templateName = std::move(v); note(Entry::TemplateName); }
  void setWindow(tk::Form* v) { window = v; note(Entry::Window); }
  void setHelpContext(std::int32_t v) { helpContext = v; note(Entry::HelpContext); }
  void setIconIndex(std::int32_t v) { iconIndex = v; note(Entry::IconIndex); }
  void setStartWithHost(std::int32_t v) { startWithHost = v; note(Entry::StartWithHost); }
  void setSingleInstance(std::int32_t v) { singleInstance = v; note(Entry::SingleInstance); }
  // Read, not set: the collection the class made, to which items are added.
  std::vector<std::int32_t>& Parameters() {
    note(Entry::Parameters);
    return parameters;
  }

  std::string guid, name, description, author, templateName;
  std::int32_t showInMenu = 0, showInToolbar = 0, kind = 0, helpContext = 0, iconIndex = 0;
  std::int32_t startWithHost = 0, singleInstance = 0;
  tk::Form* window = nullptr;
  std::vector<std::int32_t> parameters;
  std::vector<Entry> order;  // the entries in the order they were first touched

 private:
  void note(Entry e) {
    for (Entry seen : order)
      if (seen == e) return;
    order.push_back(e);
  }
};

class IVantorPlugin {
 public:
  virtual ~IVantorPlugin() = default;
  virtual bool Init(std::string& callingAppTitle, std::string& myFilename,
                    std::shared_ptr<IPluginHelper> vantorPluginHelper) = 0;
  virtual bool Term() = 0;
  virtual bool Enable() = 0;
  virtual bool Disable() = 0;
  virtual bool Configure() = 0;
  virtual std::int32_t MessageHandle(std::int32_t& msg, std::int32_t& arg1, std::int32_t& arg2) = 0;
  virtual std::string PluginName() = 0;
};

class IVantorModule {
 public:
  virtual ~IVantorModule() = default;
  virtual std::unique_ptr<ModuleInfo> GetModuleInfo() = 0;
};

class IVantorTool {
 public:
  virtual ~IVantorTool() = default;
  virtual bool AskToSaveProjectData() = 0;
  virtual void ClearProjectData() = 0;
  virtual void LoadProjectData() = 0;
  virtual void SaveProjectData() = 0;
  virtual void ViewMode(std::int32_t rhs) = 0;
};

// What the plug-in library's factory hands the host: one object with both
// interfaces.
class IPlugInObject {
 public:
  virtual ~IPlugInObject() = default;
  virtual IVantorPlugin& plugin() = 0;
  virtual IVantorModule& module() = 0;
};

// The C factory every plug-in library exports under this name.
inline constexpr const char* kFactorySymbol = "VantorCreatePlugIn";
using FactoryFunction = IPlugInObject* (*)();

}  // namespace VantorTypeLib
