#include <gtest/gtest.h>

#include "audio/modVbVis10.h"
#include "tests/audio/recording_bridge.h"

namespace {

using modVbVis10::decodeHexPair;

std::vector<int> read(std::int32_t side, std::int16_t count, std::string text) {
  recordingBridge = {};
  recordingBridge.count = count;
  recordingBridge.text = std::move(text);
  auto bins = modVbVis10::GetSpectrum(side);
  return {bins.begin(), bins.end()};
}

TEST(HexPairs, DigitsBlanksAndOtherCharacters) {
  EXPECT_EQ(decodeHexPair('F', 'F'), 255);
  EXPECT_EQ(decodeHexPair('0', 'a'), 10);
  EXPECT_EQ(decodeHexPair('A', ' '), 10);
  EXPECT_EQ(decodeHexPair(' ', 'A'), 10);
  EXPECT_EQ(decodeHexPair('\t', 'b'), 11);
  EXPECT_EQ(decodeHexPair('c', '\n'), 12);
  EXPECT_EQ(decodeHexPair(' ', ' '), 0);
  EXPECT_EQ(decodeHexPair('G', '5'), 0) << "stops at a non-digit before any digit";
  EXPECT_EQ(decodeHexPair('5', 'G'), 5) << "stops after the first digit";
  EXPECT_EQ(decodeHexPair('\0', '7'), 0);
  EXPECT_EQ(decodeHexPair('-', '1'), 0);
  EXPECT_EQ(decodeHexPair('\r', '1'), 0) << "a carriage return is not a blank";
}

TEST(SpectrumRead, TwoCallsTheFirstAlwaysWithSideZero) {
  EXPECT_EQ(read(1, 3, "0A0bff"), (std::vector<int>{10, 11, 255}));
  ASSERT_EQ(recordingBridge.calls.size(), 2u);
  EXPECT_EQ(recordingBridge.calls[0].side, 0);
  EXPECT_EQ(recordingBridge.calls[0].length, 0);
  EXPECT_EQ(recordingBridge.calls[1].side, 1);
  EXPECT_EQ(recordingBridge.calls[1].length, 7) << "2n + 1 characters";
  EXPECT_EQ(recordingBridge.calls[1].bufferBefore, "       ") << "a buffer of blanks";
}

TEST(SpectrumRead, NoBinsStillMakesTheSecondCallWithOneBlank) {
  EXPECT_TRUE(read(0, 0, "").empty());
  ASSERT_EQ(recordingBridge.calls.size(), 2u);
  EXPECT_EQ(recordingBridge.calls[1].bufferBefore, " ");
}

TEST(SpectrumRead, MissingDigitsReadAsZero) {
  EXPECT_EQ(read(0, 4, "ff1"), (std::vector<int>{255, 1, 0, 0}));
  EXPECT_EQ(read(0, 2, "zz7g"), (std::vector<int>{0, 7}));
}

TEST(SpectrumRead, ACountOutsideTheBufferRangeGivesNoBins) {
  EXPECT_TRUE(read(0, -1, "ff").empty());
  EXPECT_EQ(recordingBridge.calls.size(), 1u) << "no buffer can be formed";
  EXPECT_TRUE(read(0, 16384, "ff").empty());
  EXPECT_EQ(read(0, 16383, "ff").size(), 16383u);
  EXPECT_EQ(recordingBridge.calls[1].length, 32767);
}

TEST(SpectrumRead, LongerTextThanAnnouncedIsCutAtTheBuffer) {
  EXPECT_EQ(read(0, 1, "0102030405"), (std::vector<int>{1}));
}

TEST(LevelRead, NegativeLevelsReadAsZeroAndNothingElseIsClamped) {
  for (auto [in, out] : {std::pair<int, int>{-5, 0}, {0, 0}, {300, 300}, {-32768, 0}, {32767, 32767}}) {
    recordingBridge = {};
    recordingBridge.level = static_cast<std::int16_t>(in);
    std::int32_t side = 1;
    EXPECT_EQ(modVbVis10::GetVU(side), out);
    EXPECT_EQ(recordingBridge.vuSides, std::vector<std::int32_t>{1});
  }
}

}  // namespace
