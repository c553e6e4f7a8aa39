#pragma once
// The show format: a session script made only of `list`, `bar`, `set`,
// `fade`, `beats` and `fixture` lines, its first line the format comment. Written in one order
// (lists by id then slot, bars by slot, the parameters in the settings
// file's order, then the host's lines, each only when it is not the default)
// so that the same design always gives the same bytes; read with any line
// end, a byte-order mark, comments and blank lines, line by line as a
// session script is read (files::LineReader).
#include <string>
#include <string_view>
#include <vector>

#include "interface/plugin_design.h"
#include "vantorhost/fixtures/fixture_library.h"
#include "vantorhost/show/show_design.h"

namespace vantorhost {

inline constexpr int kShowFormatVersion = 1;
inline constexpr std::string_view kShowHeader = "# Sonvero show 1";

// A show that cannot be opened: the line (1-based) and why.
struct ShowError {
  int line;
  std::string reason;
};

// The show's lines without line ends, the format comment first.
std::vector<std::string> showLines(const ShowDesign& design, const std::vector<DesignParameter>& parameters);
// The lines as a file holds them: each ended by LF.
std::string showText(const std::vector<std::string>& lines);

// Parses and checks a whole show against the plug-in's parameters; throws
// ShowError at the first line that is not a show line or holds a value
// that the dialogs cannot store, or a fixture the patch refuses (with the
// definitions of `library`; without, each fixture is taken as holding its
// address alone). A later line for the same list, bar, parameter or fixture
// replaces an earlier one, as replaying the show would.
ShowDesign parseShow(std::string text, const std::vector<DesignParameter>& parameters,
                     DefinitionSource* library = nullptr);

}  // namespace vantorhost
