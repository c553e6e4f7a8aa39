#pragma once
// Show files: opened as a whole or not at all, saved by replacing the file
// safely. Every failure is one message that names the file (and the line).
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "vantorhost/session/host_session.h"
#include "vantorhost/show/show_design.h"

namespace vantorhost {

// The fullest show is about 1.5 MB; a larger file is not a show.
inline constexpr std::size_t kMaxShowBytes = std::size_t{16} << 20;
inline constexpr const char* kShowExtension = ".show";

struct ShowOutcome {
  bool ok = false;
  std::string message;  // why not, when !ok
  explicit operator bool() const { return ok; }
};

// A show file read and checked: its design, or `missing` (no such file),
// or the message why it cannot be opened.
struct ShowRead {
  std::optional<ShowDesign> design;
  bool missing = false;
  std::string message;
  std::string text;  // the file's bytes, when it could be read
};
// Its fixtures are checked against `library` (none: each holds its address alone).
ShowRead readShowFile(const std::filesystem::path& file, IPluginDesign& plugin, DefinitionSource* library = nullptr);

// Replaces the session's design with the show in `file`, tables, bar list,
// open channel dialogs and the 22 parameters; a show that cannot be read or
// checked, or a main window that is closed, changes nothing.
ShowOutcome openShow(HostSession& session, const std::filesystem::path& file);
// Writes the design in show format; a failed save leaves the old file whole.
ShowOutcome saveShow(HostSession& session, const std::filesystem::path& file);
ShowOutcome saveShow(IPluginDesign& plugin, const ShowDesign& design, const std::filesystem::path& file);
// The same for a show already in show format.
ShowOutcome saveShowText(const std::string& text, const std::vector<DesignParameter>& parameters,
                         const std::filesystem::path& file);
// Where "Save show as" writes when given `file`: a name without an
// extension gets ".show", so that the Open dialog lists it.
std::filesystem::path withShowExtension(std::filesystem::path file);

}  // namespace vantorhost
