// The session-script parser on arbitrary lines: every line either parses
// or is refused with a ParseError (the runner's "error LINE: message"),
// never anything else. What parses must hold together: names re-parse to
// themselves, tokens survive being written back, and the numbers lie in the
// ranges the commands promise.
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "vantorhost/commands/script_command.h"

using namespace vantorhost;

namespace {

bool sameRef(const ControlRef& a, const ControlRef& b) {
  return a.form == b.form && a.instance == b.instance && a.control == b.control && a.index == b.index &&
         a.property == b.property;
}

// Tokens written back with quotes around each must tokenize to the same
// tokens, as long as none holds a quote (nothing can express that).
void checkTokensRoundTrip(const std::vector<std::string>& tokens) {
  std::string line;
  for (const std::string& t : tokens) {
    if (t.find('"') != std::string::npos) return;
    line += "\t\"" + t + "\" ";
  }
  FUZZ_REQUIRE(tokenize(line) == tokens);
}

void checkTokens(const std::vector<std::string>& tokens) {
  for (const std::string& t : tokens) FUZZ_REQUIRE(t.find('\n') == std::string::npos);
  checkTokensRoundTrip(tokens);
}

// A reference that parsed names a form the runner knows, and its canonical
// text parses back to the same reference.
void checkRef(const ControlRef& ref) {
  FUZZ_REQUIRE(ref.form == "Main" || ref.form == "Presets_Channel" || ref.form == "Kan\xC3\xA4le" ||
               ref.form == "frmAbout");
  FUZZ_REQUIRE(ref.instance >= 0 && ref.index >= -1);
  if (ref.control.empty() || ref.property.empty()) return;
  const Command again = parseCommand("print " + ref.canonical());
  const auto* print = std::get_if<cmd::PrintProperty>(&again);
  FUZZ_REQUIRE(print && sameRef(print->ref, ref));
}

void checkCommand(const Command& command) {
  std::visit(
      [](const auto& c) {
        using T = std::decay_t<decltype(c)>;
        if constexpr (requires { c.ref; }) checkRef(c.ref);
        if constexpr (std::is_same_v<T, cmd::Key> || std::is_same_v<T, cmd::Close>) checkRef(c.form);
        if constexpr (std::is_same_v<T, cmd::BarSet> || std::is_same_v<T, cmd::BarClear> ||
                      std::is_same_v<T, cmd::PrintBar>)
          FUZZ_REQUIRE(c.slot >= 0 && c.slot <= 287);
        if constexpr (std::is_same_v<T, cmd::List>) {
          FUZZ_REQUIRE(c.id >= 1 && c.id <= 6 && c.slot >= 0 && c.slot <= 287);
          FUZZ_REQUIRE(c.entries.size() <= 1024);
        }
        if constexpr (std::is_same_v<T, cmd::PrintList>) FUZZ_REQUIRE(c.id >= 1 && c.id <= 6);
        if constexpr (std::is_same_v<T, cmd::Advance>) FUZZ_REQUIRE(c.ms >= 0 && c.ms <= cmd::Advance::kMaxMs);
        if constexpr (std::is_same_v<T, cmd::Select>) FUZZ_REQUIRE(c.index >= -1);
        if constexpr (std::is_same_v<T, cmd::Gain>) {
          // Within what the bridge takes, and written back as read.
          FUZZ_REQUIRE(c.choice.automatic || (c.choice.fixedDb >= kMinGainDb && c.choice.fixedDb <= kMaxGainDb));
          const Command again = parseCommand("gain " + gainChoiceText(c.choice));
          const auto* gain = std::get_if<cmd::Gain>(&again);
          FUZZ_REQUIRE(gain && gain->choice == c.choice);
        }
        if constexpr (std::is_same_v<T, cmd::Beats>) {
          // A pattern the beat output can play, and written back as read (as a show keeps it).
          const BeatPattern& pattern = c.pattern;
          FUZZ_REQUIRE(pattern.mode == BeatPattern::Mode::Off ||
                       (pattern.flashMs >= kMinFlashMs && pattern.flashMs <= kMaxFlashMs &&
                        !pattern.channels.empty() && pattern.channels.size() <= kMaxBeatChannels));
          for (const std::int16_t channel : pattern.channels) FUZZ_REQUIRE(channel >= 1 && channel <= 1024);
          const Command again = parseCommand("beats " + beatPatternText(pattern));
          const auto* beats = std::get_if<cmd::Beats>(&again);
          FUZZ_REQUIRE(beats && beats->pattern == pattern);
        }
      },
      command);
}

void checkLine(const std::string& line) {
  try {
    checkTokens(tokenize(line));
  } catch (const ParseError&) {
    // A line that cannot be split cannot parse either.
    try {
      parseCommand(line);
    } catch (const ParseError&) {
      return;
    }
    FUZZ_REQUIRE(!"a line that does not tokenize parsed");
  }
  try {
    checkCommand(parseCommand(line));
  } catch (const ParseError& e) {
    FUZZ_REQUIRE(!e.message.empty());
  }
}

}  // namespace

// The input is a script: one command per line, as the runner reads it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string script(reinterpret_cast<const char*>(data), size);
  size_t start = 0;
  while (start <= script.size()) {
    size_t end = script.find('\n', start);
    if (end == std::string::npos) end = script.size();
    checkLine(script.substr(start, end - start));
    start = end + 1;
  }
  return 0;
}
