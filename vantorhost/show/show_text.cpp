#include "vantorhost/show/show_text.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <sstream>
#include <utility>

#include "files/printable.h"
#include "files/text_lines.h"
#include "vantorhost/commands/fixture_line.h"
#include "vantorhost/commands/script_command.h"

namespace vantorhost {

namespace {

constexpr int kMaxPixel = 288, kMaxChannel = 1024, kMaxBoost = 200, kMaxLevel = 255;
// What the bar dialog stores: a pixel box left empty (or holding a text
// that is none of its entries) is pixel 0, a grey check box 2.
constexpr int kNoPixel = 0, kGreyCheckBox = 2;

// A reason for the line being parsed.
struct LineError {
  std::string reason;
};

[[noreturn]] void fail(std::string reason) { throw LineError{std::move(reason)}; }

// A script command that has no place in a show; `what` empty: its verb.
struct NotAShowLine {
  std::string what;
};

std::int32_t within(std::int64_t value, std::int64_t lo, std::int64_t hi, const std::string& what) {
  if (value < lo || value > hi)
    fail(what + " out of range " + std::to_string(lo) + ".." + std::to_string(hi) + ": " + std::to_string(value));
  return static_cast<std::int32_t>(value);
}

std::string listHead(int id, int slot) {
  return "list " + std::to_string(id) + (id == 1 ? " " + std::to_string(slot) : "");
}

std::string mainControl(const DesignParameter& p) { return "Main." + p.control; }

// The first line names the format and its version.
void checkHeader(std::string_view line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  constexpr std::string_view prefix = "# Sonvero show ";
  const std::string_view number = line.starts_with(prefix) ? line.substr(prefix.size()) : std::string_view();
  std::uint64_t version = 0;
  const bool digits = !number.empty() && std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
  // Digits too many for the number are a version from far ahead.
  const bool huge = digits && std::from_chars(number.data(), number.data() + number.size(), version).ec != std::errc();
  if (!digits || (!huge && version < 1))
    fail("not a Sonvero show: the first line must be \"" + std::string(kShowHeader) + "\"");
  if (huge || version > kShowFormatVersion)
    fail("written by a newer Sonvero (show format " + files::printable(number) + "); this one reads format " +
         std::to_string(kShowFormatVersion));
}

// What parsing the lines gathers; the last line for a list, bar or
// parameter wins.
// Without a library every fixture holds its address alone.
class NoDefinitions final : public DefinitionSource {
 public:
  std::shared_ptr<const FixtureDefinition> find(std::string_view, std::string_view) override { return nullptr; }
};

class ShowReader {
 public:
  ShowReader(const std::vector<DesignParameter>& parameters, DefinitionSource* library)
      : parameters_(parameters), values_(parameters.size()), library_(library ? *library : none_) {}

  void operator()(std::monostate) {}
  void operator()(const cmd::List& l) {
    for (std::int16_t c : l.entries) within(c, 1, kMaxChannel, "channel");
    lists_[{l.id, l.slot}] = l.entries;
  }
  void operator()(const cmd::BarSet& b) {
    ShowBar bar{b.slot,
                static_cast<std::int16_t>(within(b.fromPixel, kNoPixel, kMaxPixel, "FROM")),
                static_cast<std::int16_t>(within(b.toPixel, kNoPixel, kMaxPixel, "TO")),
                static_cast<std::int16_t>(within(b.boost, 1, kMaxBoost, "BOOST")),
                static_cast<std::int16_t>(within(b.threshold, 0, kMaxLevel, "THRESHOLD")),
                static_cast<std::uint8_t>(within(b.setOnExceed, 0, kGreyCheckBox, "SETONEXCEED")),
                static_cast<std::int16_t>(within(b.setValue, 0, kMaxLevel, "SETVALUE"))};
    bars_.insert_or_assign(b.slot, bar);
  }
  void operator()(const cmd::Set& s) {
    const ControlRef& ref = s.ref;
    const std::string name = files::printable(ref.canonical());
    if (ref.form != "Main" || ref.instance != 0) fail("a show sets only the main window's parameters: " + name);
    for (std::size_t key = 0; key < parameters_.size(); ++key) {
      const DesignParameter& p = parameters_[key];
      if (p.control != ref.control) continue;
      if (p.optionGroup) {
        if (ref.index < 0) fail(name + " needs the selected button's index: set " + name + "(N) 1");
        if (s.value != 1) fail(name + " takes 1 (the selected button): " + std::to_string(s.value));
        values_[key] = within(ref.index, p.low, p.high, name + " index");
      } else {
        if (ref.index >= 0) fail(mainControl(p) + " has no index: " + name);
        values_[key] = within(s.value, p.low, p.high, name);
      }
      return;
    }
    fail("not one of the main window's 22 parameters: " + name);
  }
  void operator()(const cmd::Fade& f) { host_.fadeMs = f.ms; }
  void operator()(const cmd::Beats& b) { host_.beatPattern = b.pattern; }
  void operator()(const cmd::Fixture& f) {
    if (const std::optional<std::string> refused = patch_.place(f.placement, library_)) fail(*refused);
  }
  void operator()(const cmd::FixtureOff& f) { patch_.remove(f.name); }
  void operator()(const cmd::BeatsSource& b) { host_.beatSource = b.choice; }
  void operator()(const cmd::BarClear&) { throw NotAShowLine{"bar SLOT clear"}; }
  void operator()(const cmd::BeatsHold& b) { throw NotAShowLine{b.hold ? "beats hold" : "beats follow"}; }
  template <class Other>
  void operator()(const Other&) {
    throw NotAShowLine{};
  }

  ShowDesign design() && {
    ShowDesign d;
    for (auto& [key, channels] : lists_)
      if (!channels.empty()) d.lists.push_back({key.first, key.second, std::move(channels)});
    for (const auto& [slot, bar] : bars_) d.bars.push_back(bar);
    d.parameters = std::move(values_);
    d.host = host_;
    d.host.fixtures = patch_.placements();
    return d;
  }

 private:
  const std::vector<DesignParameter>& parameters_;
  std::map<std::pair<int, int>, std::vector<std::int16_t>> lists_;
  std::map<int, ShowBar> bars_;
  std::vector<std::optional<std::int32_t>> values_;
  HostDesign host_;
  NoDefinitions none_;
  DefinitionSource& library_;
  FixturePatch patch_;
};

static_assert(cmd::Fade::kMaxMs == HostDesign::kMaxFadeMs, "a show's fade line takes what the host plays");

}  // namespace

std::vector<std::string> showLines(const ShowDesign& design, const std::vector<DesignParameter>& parameters) {
  std::vector<std::string> lines{std::string(kShowHeader)};
  for (const ShowList& l : design.lists) {
    std::string line = listHead(l.id, l.slot);
    for (std::int16_t c : l.channels) line += " " + std::to_string(c);
    lines.push_back(std::move(line));
  }
  for (const ShowBar& b : design.bars)
    lines.push_back("bar " + std::to_string(b.slot) + " " + std::to_string(b.fromPixel) + " " +
                    std::to_string(b.toPixel) + " " + std::to_string(b.boostPercent) + " " +
                    std::to_string(b.threshold) + " " + std::to_string(b.setOnExceed) + " " +
                    std::to_string(b.setValue));
  for (std::size_t key = 0; key < design.parameters.size() && key < parameters.size(); ++key) {
    if (!design.parameters[key]) continue;
    const std::string value = std::to_string(*design.parameters[key]);
    lines.push_back(parameters[key].optionGroup ? "set " + mainControl(parameters[key]) + "(" + value + ") 1"
                                                : "set " + mainControl(parameters[key]) + " " + value);
  }
  // Only when not the default, so that a show without it reads the same.
  if (design.host.fadeMs != 0) lines.push_back("fade " + std::to_string(design.host.fadeMs));
  if (design.host.beatPattern.mode != BeatPattern::Mode::Off)
    lines.push_back("beats " + beatPatternText(design.host.beatPattern));
  if (design.host.beatSource != BeatSourceChoice::Tracker)
    lines.push_back("beats source " + std::string(beatSourceText(design.host.beatSource)));
  for (const FixturePlacement& fixture : design.host.fixtures) lines.push_back(fixtureLine(fixture));
  return lines;
}

std::string showText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  return text;
}

ShowDesign parseShow(std::string text, const std::vector<DesignParameter>& parameters, DefinitionSource* library) {
  // Lines as a session script's are read, so that a show opens exactly when it replays.
  std::istringstream in(std::move(text));
  files::LineReader lines(in);
  ShowReader reader(parameters, library);
  std::string line;
  int number = 0;
  // An empty file is one empty line: not the format comment.
  while (lines.next(line) || (number == 0 && lines.error().empty())) {
    ++number;
    try {
      if (number == 1) checkHeader(line);
      else std::visit(reader, parseCommand(line));
    } catch (const ParseError& e) {
      throw ShowError{number, e.message};
    } catch (const LineError& e) {
      throw ShowError{number, e.reason};
    } catch (const NotAShowLine& e) {
      const std::string what = e.what.empty() ? files::printable(tokenize(line).front()) : e.what;
      throw ShowError{number, "\"" + what + "\" is not a show line: a show holds only bar, list, set, fade, beats and fixture lines"};
    }
  }
  if (!lines.error().empty()) throw ShowError{number + 1, lines.error()};
  return std::move(reader).design();
}

}  // namespace vantorhost
