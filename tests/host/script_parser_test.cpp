// Malformed script lines say why, quoting their bytes escaped (tokens,
// control names and the spectrum's length: golden foundation_script_tokens).
#include <gtest/gtest.h>

#include "tests/host/hostile_bytes.h"
#include "vantorhost/commands/script_command.h"

using namespace vantorhost;

namespace {

std::string errorOf(const std::string& line) {
  try {
    parseCommand(line);
  } catch (const ParseError& e) {
    return e.message;
  }
  return "";
}

TEST(ScriptCommands, MalformedLinesSayWhy) {
  for (const char* bad : {"frobnicate", "advance", "advance -1", "advance 1.5", "advance 99999999999999999999999",
                          "advance 86400001", "spectrum 0g", "vu 40000 0", "bar 288 1 2 100 1 0 1",
                          "bar 0 1 2 100 1 256 1", "bar 0 1 2", "list 7 1", "list 1", "list 2 70000", "set Main.Check5",
                          "set Nowhere.Check5 1", "set Main.Option1(2 1", "set Main 1", "key Main Space",
                          "type Main.Combo \"open", "print", "print Main.Check5", "print list 2 0", "open now", "fade",
                          "fade -1", "fade 2001", "fade 1.5", "fade 300 400", "print dmx", "print dmx 0",
                          "print dmx 1025", "print dmx 1 2", "gain", "gain auto 6", "gain 6 dB",
                          "fixture", "fixture par", "fixture par Sonvero/RGB RGB", "fixture par SonveroRGB RGB 1",
                          "fixture par /RGB RGB 1", "fixture par Sonvero/ RGB 1", "fixture par Sonvero/RGB RGB 0",
                          "fixture par Sonvero/RGB RGB 1025", "fixture par Sonvero/RGB RGB 1 2", "fixture par on",
                          "print channel", "print channel 0", "print channel 1025", "print fixtures all",
                          "beats source", "beats source Link", "beats source tracker link", "beats source 1", "link",
                          "link 1", "link on now", "link enabled", "print link 1"})
    EXPECT_NE(errorOf(bad), "") << bad;
  // A print that takes nothing more names its own usage.
  for (const char* what : {"tracker", "gain", "tempo", "show", "forms", "draw", "moduleinfo", "fixtures"})
    EXPECT_EQ(errorOf(std::string("print ") + what + " x"), std::string("usage: print ") + what) << what;
  for (const char* good : {"advance 86400000", "# fine", "fade 2000", "print dmx 1024", "fixture par off",
                           "fixture \"par 1\" \"Sonvero/RGB Dimmer\" \"RGB Dimmer\" 1024", "fixture p a/b/c m 1",
                           "print channel 1024", "print fixtures", "beats source lead", "link off", "print link"})
    EXPECT_EQ(errorOf(good), "") << good;
  EXPECT_EQ(std::get<cmd::BeatsSource>(parseCommand("beats source link")).choice, BeatSourceChoice::Link);
  EXPECT_TRUE(std::get<cmd::Link>(parseCommand("link on")).on);
}

TEST(ScriptCommands, MessagesQuoteTheLinesBytesEscapedAndShort) {
  for (const std::string& token : hostile::tokens())
    for (const std::string& line : {token, "advance " + token, "set Main.Check5 " + token, "set " + token + ".X 1",
                                    "click Main." + token, "spectrum " + token, "key Main " + token,
                                    "beats " + token, "gain " + token})
      hostile::expectPrintable(errorOf(line));
  EXPECT_EQ(errorOf("\x1b[2J"), "unknown command: \\x1b[2J");
}

}  // namespace
