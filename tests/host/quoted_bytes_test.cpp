// Messages that quote a user's bytes (script and show errors, the host's
// log of a kept source) never hand a terminal a NUL, bytes that are not
// UTF-8 or an escape sequence, and never echo a huge token whole.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"
#include "vantorhost/commands/script_command.h"
#include "vantorhost/run/live_run.h"
#include "vantorhost/run/run_script.h"
#include "vantorhost/show/show_text.h"

namespace {

using namespace vantorhost;

// Nothing a terminal acts on, and short.
void expectPrintable(const std::string& message) {
  for (unsigned char c : message) EXPECT_TRUE(c >= 0x20 && c != 0x7f) << "byte " << int(c) << " in: " << message;
  EXPECT_LT(message.size(), 400u) << message.substr(0, 200);
}

// Lines whose bad token is a NUL, stray bytes, an escape sequence or 900 KB.
std::vector<std::string> hostileTokens() {
  return {std::string("bad\0name", 8), "\xff\xfe\xC3", "\x1b[2J\x1b[31mred", "\xC2\x9B" "31m",
          std::string(900'000, '7')};
}

std::string parseErrorOf(const std::string& line) {
  try {
    parseCommand(line);
  } catch (const ParseError& e) {
    return e.message;
  }
  return "(parsed)";
}

TEST(QuotedBytes, ScriptLinesThatFailQuoteTheirTokensEscapedAndShort) {
  for (const std::string& token : hostileTokens()) {
    for (const std::string& line : {token, "advance " + token, "set Main.Check5 " + token, "set " + token + ".X 1",
                                    "click Main." + token, "spectrum " + token, "key Main " + token,
                                    "print Main.Check5." + token + "x"}) {
      // Names of bytes beyond ASCII parse; the run says what it lacks (below).
      expectPrintable(parseErrorOf(line));
    }
  }
  EXPECT_EQ(parseErrorOf("\x1b[2J"), "unknown command: \\x1b[2J");
}

TEST(QuotedBytes, ShowLinesThatFailQuoteTheirTokensEscapedAndShort) {
  const std::vector<DesignParameter> parameters{{"Check5", 0, 2, false}};
  for (const std::string& token : hostileTokens()) {
    for (const std::string& text : {"# Sonvero show 1\n" + token + "\n", "# Sonvero show 1\nset Main." + token + "x 1\n",
                                    "# Sonvero show 1\nbar 0 " + token + " 1 100 1 0 1\n",
                                    "# Sonvero show 1" + token + "\n", "# Sonvero show 9" + token + "\n"}) {
      try {
        parseShow(text, parameters);
        ADD_FAILURE() << "opened: " << text.substr(0, 40);
      } catch (const ShowError& e) {
        expectPrintable(e.reason);
      }
    }
  }
}

// The script's own message, as the run prints it.
TEST(QuotedBytes, AScriptRunPrintsItsErrorEscaped) {
  support::TempFolder dir;
  HostOptions options;
  options.pluginPath = SONVERO_PLUGIN_PATH;
  options.scriptPath = dir.path() / "s.script";
  options.tracePath = dir.path() / "trace";
  support::writeBytes(options.scriptPath, "click Main.Command\xC2\x9B" "2J\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(runScript(options), 2);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("error 1: "), std::string::npos) << said;
  EXPECT_NE(said.find("Command\\u009b2J"), std::string::npos) << said;
  expectPrintable(said.substr(0, said.size() - 1));
}

// A source kept in Sonvero.host, as the log names it.
TEST(QuotedBytes, TheKeptSourceIsLoggedEscaped) {
  HostSettings kept;
  kept.source = "file:/no/such\x1b]0;title\x07.wav";
  testing::internal::CaptureStderr();
  openAudioSource(HostOptions{}, kept);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("file:/no/such\\x1b]0;title\\x07.wav"), std::string::npos) << said;
  EXPECT_EQ(said.find('\x1b'), std::string::npos) << said;
  EXPECT_EQ(said.find('\x07'), std::string::npos) << said;
}

}  // namespace
