// The bridge's C functions with file sources made by sox, on a simulated
// clock: what the plug-in reads for known signals, the reads of one tick
// agreeing, and damaged input.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "audio/modVbVis10.h"
#include "audio/vbvis/file_frames.h"
#include "audio/vbvis/pixel_bands.h"
#include "audio/vbvis/vbvis.h"
#include "tests/audio/sox_signals.h"

namespace {

std::int64_t simulatedMs = 0;
std::int64_t readClock(void*) { return simulatedMs; }

class BridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    simulatedMs = 0;
    vbvis_set_clock(&readClock, nullptr);
  }
  void TearDown() override {
    vbvis_close();
    vbvis_set_clock(nullptr, nullptr);
  }
  bool openFile(const std::string& path) { return vbvis_open(("file:" + path).c_str()) == 0; }
  // One tick's spectrum as the plug-in reads it.
  std::vector<std::uint8_t> spectrum() {
    std::int32_t side = 0;
    auto bins = modVbVis10::GetSpectrum(side);
    return {bins.begin(), bins.end()};
  }
  SoxSignals sox;
};

int loudest(const std::vector<std::uint8_t>& bins) {
  int best = 0;
  for (int p = 1; p < static_cast<int>(bins.size()); ++p)
    if (bins[p] > bins[best]) best = p;
  return best;
}

}  // namespace

TEST_F(BridgeTest, SilenceFileGivesZeros) {
  ASSERT_TRUE(openFile(sox.make("silence.wav", "trim 0 1")));
  simulatedMs = 75;
  const auto bins = spectrum();
  ASSERT_EQ(bins.size(), 288u);
  for (auto b : bins) EXPECT_EQ(b, 0);
  EXPECT_EQ(vbvis_vu(0), 0);
  EXPECT_EQ(vbvis_vu(1), 0);
}

TEST_F(BridgeTest, SineLandsInThePixelThatHoldsItsFrequencyAtItsLevel) {
  ASSERT_TRUE(openFile(sox.make("sine.wav", "synth 1 sine 1000 gain -20")));
  for (simulatedMs = 75; simulatedMs <= 600; simulatedMs += 75) {
    const auto bins = spectrum();
    ASSERT_EQ(loudest(bins), vbvis::pixelOf(1000.0));
    // -20 dBFS reads (50 / 70) * 255 = 182; 1 kHz sits between two FFT bins,
    // where the Hann window reads up to 1.4 dB low.
    EXPECT_NEAR(bins[168], 182, 5);
    EXPECT_EQ(vbvis_vu(0), 1600);
    EXPECT_EQ(vbvis_vu(1), 1600);
  }
  double from = 0, to = 0;
  ASSERT_EQ(vbvis_bin_range(168, &from, &to), 0);
  EXPECT_LE(from, 1000.0);
  EXPECT_GT(to, 1000.0);
}

TEST_F(BridgeTest, FullScaleNoiseReachesFullScale) {
  ASSERT_TRUE(openFile(sox.make("noise.wav", "synth 2 whitenoise")));
  std::int16_t left = 0, right = 0;
  for (simulatedMs = 75; simulatedMs <= 1500; simulatedMs += 75) {
    left = std::max(left, vbvis_vu(0));
    right = std::max(right, vbvis_vu(1));
  }
  EXPECT_EQ(left, 16000);
  EXPECT_EQ(right, 16000);
}

TEST_F(BridgeTest, LeftOnlyAudioLeavesTheRightLevelAtZero) {
  ASSERT_TRUE(openFile(sox.make("left.wav", "synth 1 sine 440 vol 0.5 remix 1 0")));
  for (simulatedMs = 75; simulatedMs <= 450; simulatedMs += 75) {
    EXPECT_NEAR(vbvis_vu(0), 8000, 10);
    EXPECT_EQ(vbvis_vu(1), 0);
  }
}

TEST_F(BridgeTest, MonoFilePlaysOnBothSides) {
  ASSERT_TRUE(openFile(sox.make("mono.wav", "synth 1 sine 440 vol 0.5", 1)));
  simulatedMs = 75;
  EXPECT_NEAR(vbvis_vu(0), 8000, 10);
  EXPECT_EQ(vbvis_vu(0), vbvis_vu(1));
}

TEST_F(BridgeTest, ReadsWithin20msAgreeAndTheNextAnalysisTakesOnlyNewAudio) {
  // 0.5 s of noise, then silence.
  ASSERT_TRUE(openFile(sox.make("burst.wav", "synth 0.5 whitenoise pad 0 1")));
  simulatedMs = 450;
  const auto first = spectrum();
  const std::int16_t level = vbvis_vu(0);
  EXPECT_GT(level, 10000);
  simulatedMs = 469;  // within 20 ms: the same analysis
  EXPECT_EQ(spectrum(), first);
  EXPECT_EQ(vbvis_vu(0), level);
  simulatedMs = 470;  // 20 ms on: 450..470 ms of audio, still noise
  EXPECT_GT(vbvis_vu(0), 10000);
  simulatedMs = 525;  // 470..525 ms: 30 ms of noise, then silence
  EXPECT_GT(vbvis_vu(0), 10000);
  simulatedMs = 600;  // nothing but silence since the last read
  EXPECT_EQ(vbvis_vu(0), 0);
}

TEST_F(BridgeTest, FileOnTheSimulatedClockPlaysOnceThenIsSilent) {
  ASSERT_TRUE(openFile(sox.make("short.wav", "synth 0.2 sine 1000")));
  simulatedMs = 150;
  EXPECT_GT(vbvis_vu(0), 15000);
  simulatedMs = 300;
  EXPECT_GT(vbvis_vu(0), 15000);
  simulatedMs = 375;
  EXPECT_EQ(vbvis_vu(0), 0);
  simulatedMs = 10000;
  EXPECT_EQ(vbvis_vu(0), 0);
}

TEST_F(BridgeTest, AFileStartsWhenItIsOpened) {
  const std::string path = sox.make("late.wav", "synth 0.1 sine 1000 pad 0 1");
  simulatedMs = 5000;
  ASSERT_TRUE(openFile(path));
  simulatedMs = 5075;
  EXPECT_GT(vbvis_vu(0), 15000);
  simulatedMs = 5150;
  EXPECT_GT(vbvis_vu(0), 15000);  // 100 ms of tone: the second read holds its end
  simulatedMs = 5225;
  EXPECT_EQ(vbvis_vu(0), 0);
}

TEST_F(BridgeTest, ALongPauseBetweenReadsIsNotPlayedOutLate) {
  // Tone for the first 2 s, silence for the next 8.
  ASSERT_TRUE(openFile(sox.make("pause.wav", "synth 2 sine 1000 pad 0 8")));
  simulatedMs = 75;
  EXPECT_GT(vbvis_vu(0), 15000);
  simulatedMs = 9000;  // only the last second counts: silence
  EXPECT_EQ(vbvis_vu(0), 0);
  for (auto b : spectrum()) EXPECT_EQ(b, 0);
}

TEST_F(BridgeTest, ClockGoingBackwardsDeliversNothingNew) {
  ASSERT_TRUE(openFile(sox.make("tone.wav", "synth 1 sine 1000")));
  simulatedMs = 300;
  EXPECT_GT(vbvis_vu(0), 15000);
  simulatedMs = 100;
  EXPECT_EQ(vbvis_vu(0), 0);
}

TEST_F(BridgeTest, LowSampleRateFileHasNothingAboveItsNyquistFrequency) {
  ASSERT_TRUE(openFile(sox.make("low.wav", "synth 1 whitenoise", 2, 8000)));
  simulatedMs = 150;
  const auto bins = spectrum();
  EXPECT_GT(bins[vbvis::pixelOf(1000.0)], 80);
  EXPECT_EQ(bins[vbvis::pixelOf(5000.0)], 0);
}

TEST_F(BridgeTest, SpectrumTextFollowsTheTwoCallProtocol) {
  ASSERT_TRUE(openFile(sox.make("sine.wav", "synth 1 sine 1000")));
  simulatedMs = 75;
  EXPECT_EQ(vbvis_spectrum(0, nullptr, 0), 288);
  std::string text(577, ' ');
  EXPECT_EQ(vbvis_spectrum(0, text.data(), 577), 288);
  EXPECT_EQ(text[576], ' ');  // the blank behind the digits stays
  EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), 576u);
  // A short buffer gets only what fits.
  std::string shortText(5, '.');
  EXPECT_EQ(vbvis_spectrum(0, shortText.data(), 3), 288);
  EXPECT_EQ(shortText.substr(0, 3), text.substr(0, 3));
  EXPECT_EQ(shortText.substr(3), "..");
  EXPECT_EQ(vbvis_spectrum(0, shortText.data(), -4), 288);
  EXPECT_EQ(vbvis_bin_range(288, nullptr, nullptr), -1);
  EXPECT_EQ(vbvis_bin_range(-1, nullptr, nullptr), -1);
}

TEST_F(BridgeTest, UnreadableFilesAreRefusedAndTheOldSourceStays) {
  ASSERT_EQ(vbvis_open("silence"), 0);
  const std::string wav = sox.make("ok.wav", "synth 0.5 sine 1000");
  std::string bytes;
  {
    FILE* f = std::fopen(wav.c_str(), "rb");
    ASSERT_TRUE(f);
    char buffer[64];
    const size_t n = std::fread(buffer, 1, sizeof buffer, f);
    std::fclose(f);
    bytes.assign(buffer, n);
  }
  for (const std::string& path : {sox.folder() + "/missing.wav", sox.write("empty.wav", ""),
                                  sox.write("garbage.wav", "this is not audio at all, just text"),
                                  sox.write("header-only.wav", bytes.substr(0, 20))}) {
    EXPECT_EQ(vbvis_open(("file:" + path).c_str()), -1) << path;
    EXPECT_STREQ(vbvis_source_uri(), "silence");
  }
  EXPECT_EQ(vbvis_open("file:"), -1);
  EXPECT_EQ(vbvis_open("pulse:"), -1);
  EXPECT_EQ(vbvis_open("nonsense"), -1);
  EXPECT_EQ(vbvis_open(nullptr), -1);
  EXPECT_STREQ(vbvis_source_uri(), "silence");
}

TEST_F(BridgeTest, FileCutShortBehindItsHeaderPlaysWhatIsThere) {
  const std::string wav = sox.make("cut.wav", "synth 1 sine 1000");
  std::string bytes;
  {
    FILE* f = std::fopen(wav.c_str(), "rb");
    ASSERT_TRUE(f);
    std::vector<char> buffer(20000);
    bytes.assign(buffer.data(), std::fread(buffer.data(), 1, buffer.size(), f));
    std::fclose(f);
  }
  // The header still announces 1 s; only ~100 ms follow it.
  ASSERT_TRUE(openFile(sox.write("cut-short.wav", bytes)));
  simulatedMs = 75;
  EXPECT_GT(vbvis_vu(0), 15000);
  simulatedMs = 150;  // 75..104 ms still hold tone
  EXPECT_GT(vbvis_vu(0), 15000);
  simulatedMs = 300;
  EXPECT_EQ(vbvis_vu(0), 0);
  simulatedMs = 1500;
  EXPECT_EQ(vbvis_vu(0), 0);
}

TEST_F(BridgeTest, FileUrisWithThreeSlashesAreAbsolutePaths) {
  const std::string path = sox.make("abs.wav", "synth 1 sine 1000");
  EXPECT_EQ(vbvis_open(("file://" + path).c_str()), 0);
}

TEST_F(BridgeTest, DemoTrackOnTheSimulatedClockBeatsAt120Bpm) {
  ASSERT_EQ(vbvis_open("demo"), 0);
  // The kick falls on every 500 ms: a loud low pixel right after each beat,
  // and two runs read the same.
  std::vector<std::uint8_t> lowPixel;
  for (simulatedMs = 75; simulatedMs <= 2000; simulatedMs += 75) lowPixel.push_back(spectrum()[vbvis::pixelOf(60.0)]);
  simulatedMs = 5000;
  ASSERT_EQ(vbvis_open("demo"), 0);
  const std::int64_t start = simulatedMs;
  std::vector<std::uint8_t> again;
  for (simulatedMs = start + 75; simulatedMs <= start + 2000; simulatedMs += 75)
    again.push_back(spectrum()[vbvis::pixelOf(60.0)]);
  EXPECT_EQ(lowPixel, again);
  EXPECT_GT(lowPixel[0], 200);  // 0..75 ms: the first kick
}

TEST_F(BridgeTest, ScriptSourceStillReportsWhatItIsGiven) {
  ASSERT_EQ(vbvis_open("script"), 0);
  vbvis_script_spectrum(3, "0AFF1", 5);
  vbvis_script_vu(-5, 300);
  EXPECT_EQ(vbvis_spectrum(0, nullptr, 0), 3);
  std::string text(7, ' ');
  EXPECT_EQ(vbvis_spectrum(0, text.data(), 7), 3);
  EXPECT_EQ(text, "0AFF1  ");
  EXPECT_EQ(vbvis_vu(0), -5);
  EXPECT_EQ(vbvis_vu(1), 300);
}

// In real time a file starts over at its end; skipping wraps the same way.
TEST(FileFrames, LoopingFileStartsOverAtItsEnd) {
  SoxSignals sox;
  auto file = vbvis::FileFrames::open(sox.make("ramp.wav", "synth 0.1 sine 300"), true);
  ASSERT_TRUE(file);
  std::vector<float> stereo(2 * 12000);
  file->read(stereo.data(), 12000);  // 2.5 times the file
  for (int i : {0, 17, 2000}) {
    EXPECT_EQ(stereo[2 * (4800 + i)], stereo[2 * i]);
    EXPECT_EQ(stereo[2 * (9600 + i)], stereo[2 * i]);
  }
  std::vector<float> after(2);
  file->skip(4800 * 3 - 12000 + 17);  // to frame 17 of the next round
  file->read(after.data(), 1);
  EXPECT_EQ(after[0], stereo[2 * 17]);
}
