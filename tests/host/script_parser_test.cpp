#include <gtest/gtest.h>

#include "tests/host/hostile_bytes.h"
#include "vantorhost/commands/script_command.h"

using namespace vantorhost;

namespace {

template <class T>
T parsed(const std::string& line) {
  Command c = parseCommand(line);
  EXPECT_TRUE(std::holds_alternative<T>(c)) << line;
  return std::get<T>(c);
}

std::string errorOf(const std::string& line) {
  try {
    parseCommand(line);
  } catch (const ParseError& e) {
    return e.message;
  }
  return "";
}

TEST(ScriptTokens, BlanksTabsQuotesAndComments) {
  EXPECT_EQ(tokenize("  set\tMain.Check5   1  "), (std::vector<std::string>{"set", "Main.Check5", "1"}));
  EXPECT_EQ(tokenize("type Kanäle.Combo1 \"1 2\" # comment"), (std::vector<std::string>{"type", "Kanäle.Combo1", "1 2"}));
  EXPECT_EQ(tokenize("type X.Y \"a#b\""), (std::vector<std::string>{"type", "X.Y", "a#b"}));
  EXPECT_EQ(tokenize("advance 75#x"), (std::vector<std::string>{"advance", "75#x"})) << "# only starts a token";
  EXPECT_EQ(tokenize("type X.Y \"\""), (std::vector<std::string>{"type", "X.Y", ""}));
  EXPECT_TRUE(tokenize("# only a comment").empty());
  EXPECT_TRUE(tokenize("").empty());
  EXPECT_TRUE(tokenize("\r").empty()) << "CR LF scripts read like LF ones";
}

TEST(ScriptCommands, ControlReferencesAndCanonicalNames) {
  auto set = parsed<cmd::Set>("set Main.Option1(2) 1");
  EXPECT_EQ(set.ref.form, "Main");
  EXPECT_EQ(set.ref.control, "Option1");
  EXPECT_EQ(set.ref.index, 2);
  auto print = parsed<cmd::PrintProperty>("print Kanaele#2.ListView2.Rows");
  EXPECT_EQ(print.ref.canonical(), "Kan\xC3\xA4le#2.ListView2.Rows");
  EXPECT_EQ(parsed<cmd::PrintProperty>("print Main.Caption").ref.canonical(), "Main.Caption");
  EXPECT_EQ(parsed<cmd::Close>("close Presets_Channel#1").form.instance, 1);
}

TEST(ScriptCommands, SpectrumCountsFromTheHexText) {
  EXPECT_EQ(parsed<cmd::Spectrum>("spectrum 0A0bff").count, 3);
  EXPECT_EQ(parsed<cmd::Spectrum>("spectrum 0A0").count, 1) << "an odd length rounds down";
  EXPECT_EQ(parsed<cmd::Spectrum>("spectrum").count, 0);
  auto raw = parsed<cmd::Spectrum>("spectrum-raw 5 \"zz 1\"");
  EXPECT_EQ(raw.count, 5);
  EXPECT_EQ(raw.text, "zz 1");
  EXPECT_EQ(parsed<cmd::Spectrum>("spectrum-raw -3").count, -3);
}

TEST(ScriptCommands, MalformedLinesSayWhy) {
  EXPECT_NE(errorOf("frobnicate"), "");
  EXPECT_NE(errorOf("advance"), "");
  EXPECT_NE(errorOf("advance -1"), "");
  EXPECT_NE(errorOf("advance 1.5"), "");
  EXPECT_NE(errorOf("advance 99999999999999999999999"), "");
  EXPECT_NE(errorOf("advance 86400001"), "") << "at most a day";
  EXPECT_EQ(errorOf("advance 86400000"), "");
  EXPECT_NE(errorOf("spectrum 0g"), "");
  EXPECT_NE(errorOf("vu 40000 0"), "") << "levels are 16-bit";
  EXPECT_NE(errorOf("bar 288 1 2 100 1 0 1"), "") << "slots are 0..287";
  EXPECT_NE(errorOf("bar 0 1 2 100 1 256 1"), "") << "setOnExceed is 8-bit";
  EXPECT_NE(errorOf("bar 0 1 2"), "");
  EXPECT_NE(errorOf("list 7 1"), "");
  EXPECT_NE(errorOf("list 1"), "") << "list 1 needs its slot";
  EXPECT_NE(errorOf("list 2 70000"), "");
  EXPECT_NE(errorOf("set Main.Check5"), "");
  EXPECT_NE(errorOf("set Nowhere.Check5 1"), "") << "unknown form";
  EXPECT_NE(errorOf("set Main.Option1(2 1"), "");
  EXPECT_NE(errorOf("set Main 1"), "");
  EXPECT_NE(errorOf("key Main Space"), "");
  EXPECT_NE(errorOf("type Main.Combo \"open"), "");
  EXPECT_NE(errorOf("print"), "");
  EXPECT_NE(errorOf("print Main.Check5"), "") << "a control needs a property";
  EXPECT_NE(errorOf("print list 2 0"), "") << "only list 1 takes a slot";
  EXPECT_NE(errorOf("open now"), "");
  EXPECT_EQ(errorOf("# fine"), "");
}

TEST(ScriptCommands, FadeAndPrintDmxKeepToTheirRanges) {
  EXPECT_EQ(parsed<cmd::Fade>("fade 300").ms, 300);
  EXPECT_EQ(parsed<cmd::Fade>("fade 2000").ms, 2000);
  EXPECT_EQ(parsed<cmd::PrintDmx>("print dmx 1024").channel, 1024);
  for (const char* bad : {"fade", "fade -1", "fade 2001", "fade 1.5", "fade 300 400", "print dmx", "print dmx 0",
                          "print dmx 1025", "print dmx 1 2"})
    EXPECT_NE(errorOf(bad), "") << bad;
}

// A line that fails quotes its token escaped and short: a NUL, bytes that
// are not UTF-8, an escape sequence or 900 KB never reach the terminal as
// they are. (Names of bytes beyond ASCII parse; the run names what it lacks.)
TEST(ScriptCommands, MessagesQuoteTheLinesBytesEscapedAndShort) {
  for (const std::string& token : hostile::tokens())
    for (const std::string& line : {token, "advance " + token, "set Main.Check5 " + token, "set " + token + ".X 1",
                                    "click Main." + token, "spectrum " + token, "key Main " + token})
      hostile::expectPrintable(errorOf(line));
  EXPECT_EQ(errorOf("\x1b[2J"), "unknown command: \\x1b[2J");
}

TEST(ScriptCommands, GainIsAutoOrDecibelsWithinTheBridgesRange) {
  EXPECT_EQ(parsed<cmd::Gain>("gain auto").choice, (GainChoice{true, 0.0}));
  EXPECT_EQ(parsed<cmd::Gain>("gain -12").choice, (GainChoice{false, -12.0}));
  EXPECT_EQ(parsed<cmd::Gain>("gain 36").choice, (GainChoice{false, 36.0}));
  EXPECT_EQ(parsed<cmd::Gain>("gain \"+6.5\" # louder").choice, (GainChoice{false, 6.5}));
  parsed<cmd::PrintGain>("print gain");
  for (const char* bad : {"gain", "gain 36.5", "gain -12.1", "gain 1e1", "gain nan", "gain inf", "gain auto 6",
                          "gain 6 dB", "gain Auto", "print gain 1"})
    EXPECT_NE(errorOf(bad), "") << bad;
  EXPECT_EQ(errorOf("gain 40"), "the gain is auto or a decimal number of dB from -12 to 36: 40");
}

}  // namespace
