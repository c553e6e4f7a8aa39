// Messages that quote a user's bytes (show errors, a script run's errors,
// the host's log of a kept source) never hand a terminal a NUL, bytes that
// are not UTF-8 or an escape sequence, and never echo a huge token whole
// (script lines: script_parser_test.cpp).
#include <gtest/gtest.h>

#include <string>

#include "tests/host/hostile_bytes.h"
#include "tests/support/temp_folder.h"
#include "vantorhost/run/live_run.h"
#include "vantorhost/run/run_script.h"
#include "vantorhost/show/show_text.h"

namespace {

using namespace vantorhost;

TEST(QuotedBytes, ShowLinesThatFailQuoteTheirTokensEscapedAndShort) {
  const std::vector<DesignParameter> parameters{{"Check5", 0, 2, false}};
  for (const std::string& token : hostile::tokens()) {
    for (const std::string& text : {"# Sonvero show 1\n" + token + "\n", "# Sonvero show 1\nset Main." + token + "x 1\n",
                                    "# Sonvero show 1\nbar 0 " + token + " 1 100 1 0 1\n",
                                    "# Sonvero show 1" + token + "\n", "# Sonvero show 9" + token + "\n"}) {
      try {
        parseShow(text, parameters);
        ADD_FAILURE() << "opened: " << text.substr(0, 40);
      } catch (const ShowError& e) {
        hostile::expectPrintable(e.reason);
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
  hostile::expectPrintable(said.substr(0, said.size() - 1));
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
