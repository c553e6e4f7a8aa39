// The bridge's C functions with files made by sox on a simulated clock
// (end to end: goldens audio_left_only_sine, audio_mono_file, audio_gain_*).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <limits>
#include <string>
#include <vector>

#include "bridge/analysis/pixel_bands.h"
#include "bridge/capture/file_frames.h"
#include "bridge/vbvis.h"
#include "tests/bridge/clocked_bridge.h"

using vbvis::pixelOf;

namespace {

using Levels = std::vector<std::int16_t>;

class BridgeTest : public ClockedBridge {
 protected:
  // The left level read at each of these simulated times.
  Levels leftAt(std::initializer_list<std::int64_t> times) {
    Levels levels;
    for (std::int64_t ms : times) levels.push_back((nowMs = ms, vbvis_vu(0)));
    return levels;
  }
  // The first `count` bytes of a file made by sox.
  std::string head(const std::string& effects, std::size_t count) {
    return support::readBytes(sox.make("whole.wav", effects)).substr(0, count);
  }
};

}  // namespace

TEST_F(BridgeTest, ReadsWithin20msAgreeAndTheNextAnalysisTakesOnlyNewAudio) {
  ASSERT_TRUE(openFile(sox.make("burst.wav", "synth 0.5 whitenoise pad 0 1")));  // 0.5 s of noise
  nowMs = 450;
  const auto first = spectrum();
  const std::int16_t level = vbvis_vu(0);
  EXPECT_GT(level, 10000);
  nowMs = 469;  // within 20 ms: the same analysis
  EXPECT_EQ(spectrum(), first);
  EXPECT_EQ(vbvis_vu(0), level);
  nowMs = 470;  // 20 ms on: 450..470 ms of audio, still noise
  EXPECT_GT(vbvis_vu(0), 10000);
  nowMs = 525;  // 470..525 ms: 30 ms of noise, then silence
  EXPECT_GT(vbvis_vu(0), 10000);
  nowMs = 600;  // nothing but silence since the last read
  EXPECT_EQ(vbvis_vu(0), 0);
}

// The host's level display reads what the plug-in read, never the audio
// itself: asking first leaves the plug-in's next read its full peak.
TEST_F(BridgeTest, PeakLevelTakesNothingFromThePluginsNextRead) {
  ASSERT_TRUE(openFile(sox.make("burst.wav", "synth 0.1 sine 1000 vol 0.5 pad 0 1")));
  nowMs = 150;
  EXPECT_EQ(vbvis_peak_level(), -1) << "nothing read yet";
  const std::int16_t read = vbvis_vu(0);
  EXPECT_NEAR(read, 8000, 10);
  vbvis_vu(1);
  nowMs = 225;
  vbvis_vu(0);  // silence now
  EXPECT_EQ(vbvis_peak_level(), read);
  EXPECT_EQ(vbvis_peak_level(), -1);
}

TEST_F(BridgeTest, ALongPauseIsNotPlayedOutLateNorABackwardsClockReplayed) {
  ASSERT_TRUE(openFile(sox.make("pause.wav", "synth 2 sine 1000 pad 0 8")));  // 2 s tone, 8 s silence
  EXPECT_EQ(leftAt({75, 9000}), (Levels{16000, 0}));  // at 9000 only the last second counts
  EXPECT_EQ(spectrum(), std::vector<std::uint8_t>(288, 0));  // nor read as one piece with the stale tone
  EXPECT_EQ(leftAt({1000}), Levels{0});                      // the tone is not delivered again
}

TEST_F(BridgeTest, LowSampleRateFileHasNothingAboveItsNyquistFrequency) {
  ASSERT_TRUE(openFile(sox.make("low.wav", "synth 1 whitenoise", 2, 8000)));
  nowMs = 150;
  const auto bins = spectrum();
  EXPECT_GT(bins[pixelOf(1000.0)], 80);
  EXPECT_EQ(bins[pixelOf(5000.0)], 0);
}

TEST_F(BridgeTest, SpectrumTextNeverRunsPastTheBuffer) {
  ASSERT_TRUE(openFile(sox.make("sine.wav", "synth 1 sine 1000")));
  nowMs = 75;
  std::string text(577, ' '), shortText(5, '.');
  EXPECT_EQ(vbvis_spectrum(0, nullptr, 0), 288);
  EXPECT_EQ(vbvis_spectrum(0, text.data(), 577), 288);
  EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), 576u);
  EXPECT_EQ(text[576], ' ');  // the blank behind the digits stays
  EXPECT_EQ(vbvis_spectrum(0, shortText.data(), 3), 288);
  EXPECT_EQ(vbvis_spectrum(0, shortText.data(), -4), 288);
  EXPECT_EQ(shortText, text.substr(0, 3) + "..");
  EXPECT_EQ(vbvis_bin_range(288, nullptr, nullptr), -1);
  EXPECT_EQ(vbvis_bin_range(-1, nullptr, nullptr), -1);
}

// Each file that cannot be taken says why; a FIFO is refused unopened (it
// would hold the program up until something writes to it).
TEST_F(BridgeTest, UnreadableFilesAndUrisAreRefusedWithAReasonAndTheOldSourceStays) {
  ASSERT_EQ(vbvis_open("silence"), 0);
  const std::string header = head("synth 0.5 sine 1000", 20);
  const std::string fifo = sox.folder() + "/fifo.wav";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string damaged = head("synth 0.5 sine 1000", 44);
  damaged.replace(36, 4, "junk");  // no data chunk where the header says
  for (const auto& [path, why] : std::initializer_list<std::pair<std::string, std::string>>{
           {sox.folder() + "/missing.wav", "no such file"},
           {sox.write("empty.wav", ""), "an empty file"},
           {sox.write("garbage.wav", "this is not audio at all, just text"), "not an audio file libsndfile knows ("},
           {sox.write("damaged.wav", damaged), "a damaged audio file header ("},
           {sox.write("header-only.wav", header), "a damaged audio file header ("},
           {fifo, "a FIFO, not a regular file"},
           {sox.folder(), "a folder, not a file"}}) {
    EXPECT_EQ(vbvis_open(("file:" + path).c_str()), -1) << path;
    EXPECT_TRUE(std::string(vbvis_open_error()).starts_with(why)) << path << ": " << vbvis_open_error();
    EXPECT_STREQ(vbvis_source_uri(), "silence");
  }
  for (const char* uri : {"file:", "pulse:", "nonsense", static_cast<const char*>(nullptr)})
    EXPECT_EQ(vbvis_open(uri), -1) << (uri ? uri : "null");
  EXPECT_STREQ(vbvis_source_uri(), "silence");
  // file:///abs/path is the absolute path.
  EXPECT_EQ(vbvis_open(("file://" + sox.make("abs.wav", "synth 1 sine 1000")).c_str()), 0);
}

// A file cut short behind its header (announcing 1 s; ~100 ms follow) plays
// what is there, once, from when it is opened.
TEST_F(BridgeTest, FileStartsWhenOpenedAndPlaysWhatIsThereOnce) {
  const std::string path = sox.write("cut-short.wav", head("synth 1 sine 1000", 20000));
  nowMs = 5000;
  ASSERT_TRUE(openFile(path));
  EXPECT_EQ(leftAt({5075, 5150, 5300, 15000}), (Levels{16000, 16000, 0, 0}));  // 75..104 ms still hold tone
}

// In real time a file starts over at its end; skipping wraps the same way.
TEST(FileFrames, LoopingFileStartsOverAtItsEnd) {
  SoxSignals sox;
  auto file = vbvis::FileFrames::open(sox.make("ramp.wav", "synth 0.1 sine 300"), true);  // 4800 frames
  ASSERT_TRUE(file);
  std::vector<float> stereo(2 * 12000), after(2);
  file->read(stereo.data(), 12000);  // 2.5 times the file
  for (int i : {0, 17, 2000})
    for (int round : {1, 2}) EXPECT_EQ(stereo[2 * (4800 * round + i)], stereo[2 * i]) << i;
  file->skip(4800 * 3 - 12000 + 17);  // to frame 17 of the next round
  file->read(after.data(), 1);
  EXPECT_EQ(after[0], stereo[2 * 17]);
}

// Loaded at a fixed 0 dB; outside -12..36 (or not a number) nothing changes.
TEST(GainApi, StartsFixedAtZeroAndRefusesGainsOutOfRange) {
  vbvis_gain_state s{};
  ASSERT_EQ(vbvis_gain(&s), 0);
  EXPECT_EQ(s.automatic, 0);
  EXPECT_EQ(s.gain_db, 0.0);
  EXPECT_EQ(s.input_db, VBVIS_SILENCE_DB);
  EXPECT_EQ(vbvis_gain(nullptr), -1);
  EXPECT_EQ(vbvis_set_gain(0, -12.0), 0);
  EXPECT_EQ(vbvis_set_gain(0, 36.0), 0);
  for (const double wrong : {-12.01, 36.01, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()})
    EXPECT_EQ(vbvis_set_gain(0, wrong), -1) << wrong;
  vbvis_gain(&s);
  EXPECT_EQ(s.fixed_db, 36.0);
  EXPECT_EQ(s.gain_db, 36.0);
  vbvis_set_gain(0, 0.0);
}
