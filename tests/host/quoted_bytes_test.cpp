// Messages that quote a user's bytes never hand a terminal a NUL, bytes that
// are not UTF-8 or an escape sequence, nor a huge token whole.
#include <gtest/gtest.h>

#include <string>

#include "tests/host/hostile_bytes.h"
#include "vantorhost/run/live_run.h"
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
