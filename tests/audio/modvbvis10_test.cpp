// Module modVbVis10's calls into a bridge that records them (any count and
// text: fuzz_spectrum).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "audio/modVbVis10.h"
#include "bridge/vbvis.h"

namespace {

struct RecordingBridge {
  struct Call {
    std::int32_t side;
    std::string bufferBefore;  // what the module handed in
    std::int32_t length;
    bool withBuffer;
  };
  std::int16_t count = 0;
  std::string text;
  std::int16_t level = 0;
  std::vector<Call> calls;
  std::vector<std::int32_t> vuSides;
} recordingBridge;

}  // namespace

// The bridge's two functions, as this test's own.
extern "C" int16_t vbvis_spectrum(int32_t side, char* buffer, int32_t length) {
  recordingBridge.calls.push_back(
      {side, buffer ? std::string(buffer, static_cast<size_t>(length)) : "", length, buffer != nullptr});
  if (buffer && length > 0)
    std::memcpy(buffer, recordingBridge.text.data(), std::min<size_t>(static_cast<size_t>(length), recordingBridge.text.size()));
  return recordingBridge.count;
}

extern "C" int16_t vbvis_vu(int32_t side) {
  recordingBridge.vuSides.push_back(side);
  return recordingBridge.level;
}

namespace {

std::vector<int> read(std::int32_t side, std::int16_t count, std::string text) {
  recordingBridge = {};
  recordingBridge.count = count;
  recordingBridge.text = std::move(text);
  auto bins = modVbVis10::GetSpectrum(side);
  return {bins.begin(), bins.end()};
}

TEST(SpectrumRead, TwoCallsTheFirstAlwaysWithSideZeroTheSecondWith2nPlus1Blanks) {
  EXPECT_EQ(read(1, 3, "0A0bff"), (std::vector<int>{10, 11, 255}));
  ASSERT_EQ(recordingBridge.calls.size(), 2u);
  EXPECT_EQ(recordingBridge.calls[0].side, 0);
  EXPECT_FALSE(recordingBridge.calls[0].withBuffer);
  EXPECT_EQ(recordingBridge.calls[1].side, 1);
  EXPECT_EQ(recordingBridge.calls[1].bufferBefore, "       ");
  EXPECT_TRUE(read(0, 0, "").empty());
  EXPECT_EQ(recordingBridge.calls.at(1).bufferBefore, " ") << "no bins: still the second call";
}

TEST(LevelRead, NegativeLevelsReadAsZeroAndNothingElseIsClamped) {
  for (auto [in, out] : {std::pair<int, int>{-5, 0}, {-32768, 0}, {32767, 32767}}) {
    recordingBridge = {};
    recordingBridge.level = static_cast<std::int16_t>(in);
    std::int32_t side = 1;
    EXPECT_EQ(modVbVis10::GetVU(side), out);
    EXPECT_EQ(recordingBridge.vuSides, std::vector<std::int32_t>{1});
  }
}

}  // namespace
