#pragma once
// A session script line, parsed and checked, before it runs.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "vantorhost/base/gain_choice.h"
#include "vantorhost/fixtures/fixture_patch.h"
#include "vantorhost/base/beat_pattern.h"
#include "vantorhost/base/beat_source_choice.h"

namespace vantorhost {

// FORM[#K][.CONTROL[(INDEX)]][.PROPERTY]
struct ControlRef {
  std::string form;      // "Main", "Presets_Channel", "Kanäle", "frmAbout"
  int instance = 0;      // K of FORM#K (1 = oldest still open); 0: the one opened last
  std::string control;   // empty: the form itself
  int index = -1;        // control array index, -1 for none
  std::string property;  // for print
  // The name as print lines write it: Main.Option1(2).Value
  std::string canonical() const;
};

namespace cmd {
struct Audio { std::string uri; };
struct Spectrum { std::int16_t count; std::string text; };
struct Vu { std::int16_t left, right; };
struct BarSet { int slot; std::int16_t fromPixel, toPixel, boost, threshold; std::uint8_t setOnExceed; std::int16_t setValue; };
struct BarClear { int slot; };
struct List { int id; int slot; std::vector<std::int16_t> entries; };
struct Set { ControlRef ref; std::int64_t value; };
struct Select { ControlRef ref; std::int64_t index; };
struct Type { ControlRef ref; std::string text; };
struct Click { ControlRef ref; };
struct Key { ControlRef form; bool enter; };
struct Close { ControlRef form; };
struct Open {};
struct Reload {};
// At most one simulated day per line.
struct Advance { static constexpr std::int64_t kMaxMs = 86'400'000; std::int64_t ms; };
struct PrintProperty { ControlRef ref; };
struct PrintForms {};
struct PrintDraw {};
struct PrintBar { int slot; };
struct PrintList { int id; int slot; };
struct PrintModuleInfo {};
struct PrintShow {};
struct SaveShow { std::string path; };
struct OpenShow { std::string path; };
struct PrintTempo {};
// The host's fade: a channel going out falls to a lower value over MS; also a show line.
struct Fade { static constexpr std::int64_t kMaxMs = 2000; std::int32_t ms; };
// What goes out on a channel now, after every stage of the output.
struct PrintDmx { std::int32_t channel; };
// The bridge's gain ahead of the analysis: automatic, or fixed in dB.
struct Gain { GainChoice choice; };
// The gain now: automatic or fixed, and the gain applied.
struct PrintGain {};
// The host's beat output, driven by the bridge's beat tracker; also a show line.
struct Beats { BeatPattern pattern; };
// The bridge's beat tracker: tempo and confidence.
struct PrintTracker {};
// The operator's hands on the tracker's beat: a tap at the current
// millisecond (four in a row set tempo and phase), the phase moved by half
// a beat or by MS milliseconds, the beat held at its tempo and phase or
// let the tracker lead again.
struct Tap {};
struct Nudge { static constexpr std::int32_t kMaxMs = 250; bool half = false; std::int32_t ms = 0; };
struct BeatsHold { bool hold = true; };
// The patch: a fixture of the library placed at a channel (also a show
// line), a fixture removed, the patch as show lines, what a channel is.
struct Fixture { FixturePlacement placement; };
struct FixtureOff { std::string name; };
struct PrintFixtures {};
struct PrintChannel { std::int32_t channel; };
// What drives the beat output: the tracker, the Link session, or the
// session led from the tracker; also a show line.
struct BeatsSource { BeatSourceChoice choice; };
// Joins or leaves the Link session.
struct Link { bool on; };
// The Link session: peers, tempo and beat, or off.
struct PrintLink {};
// Not in the user's help: drives channel output directly.
struct TestOutput { std::int32_t channel, value; std::uint8_t active; };
}  // namespace cmd

using Command = std::variant<std::monostate, cmd::Audio, cmd::Spectrum, cmd::Vu, cmd::BarSet, cmd::BarClear,
                             cmd::List, cmd::Set, cmd::Select, cmd::Type, cmd::Click, cmd::Key, cmd::Close,
                             cmd::Open, cmd::Reload, cmd::Advance, cmd::PrintProperty, cmd::PrintForms,
                             cmd::PrintDraw, cmd::PrintBar, cmd::PrintList, cmd::PrintModuleInfo,
                             cmd::PrintShow, cmd::SaveShow, cmd::OpenShow, cmd::PrintTempo, cmd::TestOutput,
                             cmd::Fade, cmd::PrintDmx, cmd::Gain, cmd::PrintGain, cmd::Beats, cmd::PrintTracker,
                             cmd::Fixture, cmd::FixtureOff, cmd::PrintFixtures, cmd::PrintChannel, cmd::Tap,
                             cmd::Nudge, cmd::BeatsHold, cmd::BeatsSource, cmd::Link, cmd::PrintLink>;

struct ParseError {
  std::string message;
};

// Splits a line into tokens: blanks and tabs separate, a token in double
// quotes may hold blanks, '#' at the start of a token comments out the rest.
// Throws ParseError.
std::vector<std::string> tokenize(const std::string& line);
// Parses one line; blank and comment lines give std::monostate. Throws
// ParseError with the reason.
Command parseCommand(const std::string& line);

}  // namespace vantorhost
