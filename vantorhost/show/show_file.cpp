#include "vantorhost/show/show_file.h"

#include <utility>

#include "files/printable.h"
#include "files/safe_file.h"
#include "vantorhost/show/show_text.h"

namespace vantorhost {

namespace {

std::string quoted(const std::filesystem::path& file) {
  return "\"" + files::printable(file.string(), files::kPathLimit) + "\"";
}

// A failed save leaves the file as it was; said when there is one.
std::string keptNote(const std::filesystem::path& file) {
  std::error_code ec;
  return std::filesystem::is_regular_file(file, ec) ? "; the old file is unchanged" : "";
}

}  // namespace

ShowRead readShowFile(const std::filesystem::path& file, IPluginDesign& plugin, DefinitionSource* library) {
  ShowRead result;
  files::FileRead read = files::readRegularFile(file, kMaxShowBytes);
  if (read.state != files::FileRead::State::Read) {
    result.missing = read.state == files::FileRead::State::Missing;
    // The reason names the file.
    result.message = "cannot open the show: " + read.reason;
    return result;
  }
  try {
    result.text = std::move(read.bytes);
    result.design = parseShow(result.text, plugin.parameters(), library);
  } catch (const ShowError& e) {
    result.message = "cannot open the show " + quoted(file) + ", line " + std::to_string(e.line) + ": " + e.reason;
  }
  return result;
}

ShowOutcome openShow(HostSession& session, const std::filesystem::path& file) {
  IPluginDesign* plugin = session.design();
  if (!plugin) return {false, "cannot open the show " + quoted(file) + ": the plug-in offers no table access"};
  const tk::Form* window = session.mainWindow();
  if (!window || !window->loaded()) return {false, "cannot open the show " + quoted(file) + ": Sonvero's main window is closed"};
  ShowRead read = readShowFile(file, *plugin, &session.fixtureLibrary());
  if (!read.design) return {false, read.message};
  applyDesign(session, *read.design);
  return {true, {}};
}

ShowOutcome saveShow(HostSession& session, const std::filesystem::path& file) {
  IPluginDesign* plugin = session.design();
  if (!plugin) return {false, "cannot save the show " + quoted(file) + ": the plug-in offers no table access"};
  return saveShow(*plugin, readDesign(session), file);
}

ShowOutcome saveShow(IPluginDesign& plugin, const ShowDesign& design, const std::filesystem::path& file) {
  const std::vector<DesignParameter> parameters = plugin.parameters();
  return saveShowText(showText(showLines(design, parameters)), parameters, file);
}

std::filesystem::path withShowExtension(std::filesystem::path file) {
  if (!file.filename().empty() && !file.has_extension()) file += kShowExtension;
  return file;
}

ShowOutcome saveShowText(const std::string& text, const std::vector<DesignParameter>& parameters,
                         const std::filesystem::path& file) {
  // What opening would refuse is never written: a show that cannot be
  // opened is lost work (a script's bar and list lines go beyond what the
  // dialogs store).
  try {
    parseShow(text, parameters);
  } catch (const ShowError& e) {
    return {false, "cannot save the show " + quoted(file) + ": its line " + std::to_string(e.line) +
                       " could not be opened again (" + e.reason + ")" + keptNote(file)};
  }
  const files::ReplaceResult written = files::replaceFile(file, text);
  if (!written) return {false, "cannot save the show " + quoted(file) + " (" + written.reason + ")" + keptNote(file)};
  return {true, {}};
}

}  // namespace vantorhost
