#include "vantorhost/commands/script_command.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string_view>

#include "files/printable.h"
#include "vantorhost/base/channel_buffer.h"

namespace vantorhost {

namespace {

[[noreturn]] void fail(std::string message) { throw ParseError{std::move(message)}; }

std::int64_t integer(const std::string& token, std::int64_t lo, std::int64_t hi, const char* what) {
  std::int64_t v = 0;
  const char* begin = token.data();
  const char* end = begin + token.size();
  if (begin != end && *begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, v);
  const auto shown = [&] { return files::printable(token); };
  if (ec == std::errc::result_out_of_range) fail(std::string(what) + " out of range: " + shown());
  if (ec != std::errc() || ptr != end || begin == end) fail(std::string(what) + " is not a whole number: " + shown());
  if (v < lo || v > hi)
    fail(std::string(what) + " out of range " + std::to_string(lo) + ".." + std::to_string(hi) + ": " + shown());
  return v;
}

std::int16_t int16(const std::string& token, const char* what, std::int64_t lo = -32768, std::int64_t hi = 32767) {
  return static_cast<std::int16_t>(integer(token, lo, hi, what));
}

void expectArgs(const std::vector<std::string>& t, size_t lo, size_t hi, const char* usage) {
  if (t.size() - 1 < lo || t.size() - 1 > hi) fail(std::string("usage: ") + usage);
}

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool isIdentifier(const std::string& s) {
  if (s.empty()) return false;
  for (unsigned char c : s)
    if (!(std::isalnum(c) || c == '_' || c >= 0x80)) return false;
  return true;
}

std::string canonicalForm(const std::string& name) {
  if (name == "Kanaele") return "Kan\xC3\xA4le";
  return name;
}

// FORM[#K] . CONTROL[(INDEX)] [. PROPERTY]; `parts` is how many dotted parts
// the reference must have (1 form, 2 control or form property, 3 property).
ControlRef controlRef(const std::string& token, size_t minParts, size_t maxParts) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t i = 0; i <= token.size(); ++i) {
    if (i == token.size() || token[i] == '.') {
      parts.push_back(token.substr(start, i - start));
      start = i + 1;
    }
  }
  if (parts.size() < minParts || parts.size() > maxParts) fail("bad control name: " + files::printable(token));
  ControlRef ref;
  std::string form = parts[0];
  if (auto hash = form.find('#'); hash != std::string::npos) {
    ref.instance = static_cast<int>(integer(form.substr(hash + 1), 1, 1000, "form instance"));
    form = form.substr(0, hash);
  }
  form = canonicalForm(form);
  if (form != "Main" && form != "Presets_Channel" && form != "Kan\xC3\xA4le" && form != "frmAbout")
    fail("unknown form: " + files::printable(form));
  ref.form = form;
  if (parts.size() >= 2) {
    std::string control = parts[1];
    if (auto open = control.find('('); open != std::string::npos) {
      if (control.back() != ')') fail("bad control index: " + files::printable(token));
      ref.index = static_cast<int>(integer(control.substr(open + 1, control.size() - open - 2), 0, 1000, "control index"));
      control = control.substr(0, open);
    }
    if (!isIdentifier(control)) fail("bad control name: " + files::printable(token));
    ref.control = control;
  }
  if (parts.size() == 3) {
    if (!isIdentifier(parts[2])) fail("bad property: " + files::printable(token));
    ref.property = parts[2];
  }
  return ref;
}

}  // namespace

std::string ControlRef::canonical() const {
  std::string s = form;
  if (instance > 0) s += "#" + std::to_string(instance);
  if (!control.empty()) {
    s += "." + control;
    if (index >= 0) s += "(" + std::to_string(index) + ")";
  }
  if (!property.empty()) s += "." + property;
  return s;
}

std::vector<std::string> tokenize(const std::string& line) {
  std::vector<std::string> tokens;
  size_t i = 0;
  const size_t n = line.size();
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (i < n) {
    while (i < n && blank(line[i])) ++i;
    if (i >= n || line[i] == '#') break;
    std::string token;
    if (line[i] == '"') {
      size_t close = line.find('"', i + 1);
      if (close == std::string::npos) fail("unterminated quote");
      token = line.substr(i + 1, close - i - 1);
      i = close + 1;
      if (i < n && !blank(line[i])) fail("text after a closing quote");
    } else {
      while (i < n && !blank(line[i])) token += line[i++];
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

namespace {

using Tokens = std::vector<std::string>;

// One verb of the script language: its name and what parses a line that
// starts with it (the whole line's tokens, the verb first).
struct Verb {
  std::string_view name;
  Command (*parse)(const Tokens& t);
};

Command findVerb(std::span<const Verb> verbs, const std::string& word, const Tokens& t,
                 Command (*otherwise)(const Tokens& t)) {
  for (const Verb& verb : verbs)
    if (verb.name == word) return verb.parse(t);
  return otherwise(t);
}

int slot(const std::string& token) { return static_cast<int>(integer(token, 0, 287, "SLOT")); }

std::int32_t channel(const std::string& token, const char* what) {
  return static_cast<std::int32_t>(integer(token, 1, ChannelBuffer::kChannels, what));
}

Command parseSpectrum(const Tokens& t) {
  expectArgs(t, 0, 1, "spectrum HEX");
  std::string hex = t.size() > 1 ? t[1] : "";
  for (char c : hex)
    if (!isHex(c)) fail("not hexadecimal: " + files::printable(hex));
  if (hex.size() / 2 > 32767) fail("spectrum too long");
  return cmd::Spectrum{static_cast<std::int16_t>(hex.size() / 2), hex};
}

Command parseBar(const Tokens& t) {
  if (t.size() == 3 && t[2] == "clear") return cmd::BarClear{slot(t[1])};
  expectArgs(t, 7, 7, "bar SLOT FROM TO BOOST THRESHOLD SETONEXCEED SETVALUE | bar SLOT clear");
  return cmd::BarSet{slot(t[1]), int16(t[2], "FROM"), int16(t[3], "TO"), int16(t[4], "BOOST"),
                     int16(t[5], "THRESHOLD"), static_cast<std::uint8_t>(integer(t[6], 0, 255, "SETONEXCEED")),
                     int16(t[7], "SETVALUE")};
}

Command parseList(const Tokens& t) {
  if (t.size() < 2) fail("usage: list ID [SLOT] C1 C2 ...");
  cmd::List l{static_cast<int>(integer(t[1], 1, 6, "ID")), 0, {}};
  size_t first = 2;
  if (l.id == 1) {
    if (t.size() < 3) fail("list 1 needs a SLOT");
    l.slot = slot(t[2]);
    first = 3;
  }
  if (t.size() - first > 1024) fail("a list holds at most 1024 entries");
  for (size_t i = first; i < t.size(); ++i) l.entries.push_back(int16(t[i], "channel"));
  return l;
}

Command parseKey(const Tokens& t) {
  expectArgs(t, 2, 2, "key FORM Enter|Escape");
  if (t[2] != "Enter" && t[2] != "Escape") fail("KEY is Enter or Escape: " + files::printable(t[2]));
  return cmd::Key{controlRef(t[1], 1, 1), t[2] == "Enter"};
}

Command parseGain(const Tokens& t) {
  expectArgs(t, 1, 1, "gain auto|DB");
  const std::optional<GainChoice> choice = parseGainChoice(t[1]);
  if (!choice) fail(std::string("the gain is ") + kGainChoiceHint + ": " + files::printable(t[1]));
  return cmd::Gain{*choice};
}

// beats flash|chase MS C1 C2 ... | beats off | beats hold|follow | beats source tracker|link|lead
Command parseBeats(const Tokens& t) {
  constexpr const char* kUsage = "beats flash MS C1 C2 ... | beats chase MS C1 C2 ... | beats off | beats hold|follow"
                                 " | beats source tracker|link|lead";
  if (t.size() < 2) fail(std::string("usage: ") + kUsage);
  if (t[1] == "hold" || t[1] == "follow") {
    expectArgs(t, 1, 1, "beats hold|follow");
    return cmd::BeatsHold{t[1] == "hold"};
  }
  if (t[1] == "source") {
    expectArgs(t, 2, 2, "beats source tracker|link|lead");
    const std::optional<BeatSourceChoice> choice = beatSourceNamed(t[2]);
    if (!choice) fail("a beat source is tracker, link or lead: " + files::printable(t[2]));
    return cmd::BeatsSource{*choice};
  }
  const std::optional<BeatPattern::Mode> mode = beatModeNamed(t[1]);
  if (!mode) fail("a beat output is flash, chase or off (or beats hold|follow, beats source): " + files::printable(t[1]));
  if (*mode == BeatPattern::Mode::Off) {
    expectArgs(t, 1, 1, "beats off");
    return cmd::Beats{};
  }
  if (t.size() < 4) fail(std::string("usage: ") + kUsage);
  if (t.size() - 3 > kMaxBeatChannels) fail("a beat output drives at most 1024 channels");
  BeatPattern pattern{*mode, static_cast<int>(integer(t[2], kMinFlashMs, kMaxFlashMs, "MS")), {}};
  for (std::size_t i = 3; i < t.size(); ++i)
    pattern.channels.push_back(static_cast<std::int16_t>(channel(t[i], "channel")));
  return cmd::Beats{std::move(pattern)};
}

// fixture NAME MANUFACTURER/MODEL "MODE" ADDRESS | fixture NAME off
Command parseFixture(const Tokens& t) {
  if (t.size() == 3 && t[2] == "off") return cmd::FixtureOff{t[1]};
  expectArgs(t, 4, 4, "fixture NAME MANUFACTURER/MODEL \"MODE\" ADDRESS | fixture NAME off");
  const std::size_t slash = t[2].find('/');
  if (slash == std::string::npos || slash == 0 || slash + 1 == t[2].size())
    fail("a fixture is named MANUFACTURER/MODEL: " + files::printable(t[2]));
  return cmd::Fixture{{t[1], t[2].substr(0, slash), t[2].substr(slash + 1), t[3], channel(t[4], "ADDRESS")}};
}

Command parseTestOutput(const Tokens& t) {
  expectArgs(t, 3, 3, "test-output CHANNEL VALUE ACTIVE");
  return cmd::TestOutput{static_cast<std::int32_t>(integer(t[1], INT32_MIN, INT32_MAX, "CHANNEL")),
                         static_cast<std::int32_t>(integer(t[2], INT32_MIN, INT32_MAX, "VALUE")),
                         static_cast<std::uint8_t>(integer(t[3], 0, 255, "ACTIVE"))};
}

// print FORM.CONTROL.PROPERTY | print FORM.Caption
Command parsePrintProperty(const Tokens& t) {
  expectArgs(t, 1, 1, "print FORM.CONTROL.PROPERTY");
  ControlRef ref = controlRef(t[1], 2, 3);
  if (ref.property.empty()) {
    // FORM.Caption: a property of the form itself.
    if (ref.control != "Caption" || ref.index >= 0) fail("print needs FORM.CONTROL.PROPERTY or FORM.Caption");
    ref.property = "Caption";
    ref.control.clear();
  }
  return cmd::PrintProperty{ref};
}

// print WHAT with nothing after it.
template <class C>
Command printAlone(const Tokens& t) {
  expectArgs(t, 1, 1, ("print " + t[1]).c_str());
  return C{};
}

Command parsePrintList(const Tokens& t) {
  expectArgs(t, 2, 3, "print list ID [SLOT]");
  int id = static_cast<int>(integer(t[2], 1, 6, "ID"));
  if (id == 1 && t.size() != 4) fail("print list 1 needs a SLOT");
  if (id != 1 && t.size() != 3) fail("only list 1 takes a SLOT");
  return cmd::PrintList{id, id == 1 ? slot(t[3]) : 0};
}

// What `print` reads besides a control's property: print WHAT ...
constexpr Verb kPrints[] = {
    {"forms", printAlone<cmd::PrintForms>},
    {"draw", printAlone<cmd::PrintDraw>},
    {"moduleinfo", printAlone<cmd::PrintModuleInfo>},
    {"show", printAlone<cmd::PrintShow>},
    {"tempo", printAlone<cmd::PrintTempo>},
    {"gain", printAlone<cmd::PrintGain>},
    {"tracker", printAlone<cmd::PrintTracker>},
    {"link", printAlone<cmd::PrintLink>},
    {"bar",
     [](const Tokens& t) -> Command {
       expectArgs(t, 2, 2, "print bar SLOT");
       return cmd::PrintBar{slot(t[2])};
     }},
    {"dmx",
     [](const Tokens& t) -> Command {
       expectArgs(t, 2, 2, "print dmx CHANNEL");
       return cmd::PrintDmx{channel(t[2], "CHANNEL")};
     }},
    {"list", parsePrintList},
    {"fixtures", printAlone<cmd::PrintFixtures>},
    {"channel",
     [](const Tokens& t) -> Command {
       expectArgs(t, 2, 2, "print channel CHANNEL");
       return cmd::PrintChannel{channel(t[2], "CHANNEL")};
     }},
};

Command parsePrint(const Tokens& t) {
  if (t.size() < 2) fail("usage: print WHAT");
  return findVerb(kPrints, t[1], t, parsePrintProperty);
}

// The script language, one verb a row.
constexpr Verb kVerbs[] = {
    {"audio",
     [](const Tokens& t) -> Command {
       expectArgs(t, 1, 1, "audio URI");
       return cmd::Audio{t[1]};
     }},
    {"spectrum", parseSpectrum},
    {"spectrum-raw",
     [](const Tokens& t) -> Command {
       expectArgs(t, 1, 2, "spectrum-raw N TEXT");
       return cmd::Spectrum{int16(t[1], "N"), t.size() > 2 ? t[2] : ""};
     }},
    {"vu",
     [](const Tokens& t) -> Command {
       expectArgs(t, 2, 2, "vu LEFT RIGHT");
       return cmd::Vu{int16(t[1], "LEFT"), int16(t[2], "RIGHT")};
     }},
    {"bar", parseBar},
    {"list", parseList},
    {"set",
     [](const Tokens& t) -> Command {
       expectArgs(t, 2, 2, "set FORM.CONTROL VALUE");
       return cmd::Set{controlRef(t[1], 2, 2), integer(t[2], std::numeric_limits<std::int32_t>::min(),
                                                       std::numeric_limits<std::int32_t>::max(), "VALUE")};
     }},
    {"select",
     [](const Tokens& t) -> Command {
       expectArgs(t, 2, 2, "select FORM.CONTROL N");
       return cmd::Select{controlRef(t[1], 2, 2), integer(t[2], -1, 1 << 20, "N")};
     }},
    {"type",
     [](const Tokens& t) -> Command {
       expectArgs(t, 2, 2, "type FORM.CONTROL TEXT");
       return cmd::Type{controlRef(t[1], 2, 2), t[2]};
     }},
    {"click",
     [](const Tokens& t) -> Command {
       expectArgs(t, 1, 1, "click FORM.CONTROL");
       return cmd::Click{controlRef(t[1], 2, 2)};
     }},
    {"key", parseKey},
    {"close",
     [](const Tokens& t) -> Command {
       expectArgs(t, 1, 1, "close FORM");
       return cmd::Close{controlRef(t[1], 1, 1)};
     }},
    {"open",
     [](const Tokens& t) -> Command {
       expectArgs(t, 0, 0, "open");
       return cmd::Open{};
     }},
    {"reload",
     [](const Tokens& t) -> Command {
       expectArgs(t, 0, 0, "reload");
       return cmd::Reload{};
     }},
    {"advance",
     [](const Tokens& t) -> Command {
       expectArgs(t, 1, 1, "advance MS");
       return cmd::Advance{integer(t[1], 0, cmd::Advance::kMaxMs, "MS")};
     }},
    {"save-show",
     [](const Tokens& t) -> Command {
       expectArgs(t, 1, 1, "save-show FILE");
       return cmd::SaveShow{t[1]};
     }},
    {"open-show",
     [](const Tokens& t) -> Command {
       expectArgs(t, 1, 1, "open-show FILE");
       return cmd::OpenShow{t[1]};
     }},
    {"fade",
     [](const Tokens& t) -> Command {
       expectArgs(t, 1, 1, "fade MS");
       return cmd::Fade{static_cast<std::int32_t>(integer(t[1], 0, cmd::Fade::kMaxMs, "MS"))};
     }},
    {"gain", parseGain},
    {"beats", parseBeats},
    {"tap",
     [](const Tokens& t) -> Command {
       expectArgs(t, 0, 0, "tap");
       return cmd::Tap{};
     }},
    {"nudge",
     [](const Tokens& t) -> Command {
       expectArgs(t, 1, 1, "nudge half|MS");
       if (t[1] == "half") return cmd::Nudge{true, 0};
       return cmd::Nudge{false, static_cast<std::int32_t>(integer(t[1], -cmd::Nudge::kMaxMs, cmd::Nudge::kMaxMs, "MS"))};
     }},
    {"fixture", parseFixture},
    {"link",
     [](const Tokens& t) -> Command {
       expectArgs(t, 1, 1, "link on|off");
       if (t[1] != "on" && t[1] != "off") fail("link is on or off: " + files::printable(t[1]));
       return cmd::Link{t[1] == "on"};
     }},
    {"print", parsePrint},
    {"test-output", parseTestOutput},
};

[[noreturn]] Command unknownVerb(const Tokens& t) { fail("unknown command: " + files::printable(t[0])); }

}  // namespace

Command parseCommand(const std::string& line) {
  const Tokens t = tokenize(line);
  if (t.empty()) return std::monostate{};
  return findVerb(kVerbs, t[0], t, unknownVerb);
}

}  // namespace vantorhost
