// The beat tracker through the bridge's C functions on the simulated clock,
// and the live tap's time keeping (the hands: goldens beats_nudge, beats_tap).
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "bridge/beat/tracker_tap.h"
#include "tests/bridge/clocked_bridge.h"
#include "tests/bridge/drum_machine.h"

namespace {

const drum_machine::Song kSong{.bpm = 110, .seconds = 16, .kick = "x.......x.x.....", .snare = "....x.......x...",
                               .hats = "x.x.x.x.x.x.x.x.", .jitterMs = 5};

// Our drum machine's `song` as a 16-bit WAV file at `path`.
void writeSong(const drum_machine::Song& song, const std::string& path) {
  const std::vector<float> audio = drum_machine::render(song);
  SF_INFO info{};
  info.samplerate = 44100;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr);
  sf_writef_float(file, audio.data(), static_cast<sf_count_t>(audio.size() / 2));
  sf_close(file);
}

class TrackerApi : public ClockedBridge {
 protected:
  void SetUp() override {
    ClockedBridge::SetUp();
    writeSong(kSong, path_);
  }

  struct Run {
    std::string analysis;                     // every spectrum and level the plug-in read
    std::vector<vbvis_tracker_state> states;  // after every update
  };
  // 16 s of the file: reads every 75 ms, tracker updates every 10 ms when `track`.
  Run play(bool track) {
    Run run;
    nowMs = 0;
    EXPECT_TRUE(openFile(path_));
    std::string text(576, ' ');
    for (nowMs = 0; nowMs <= 16000; nowMs += 5) {
      if (nowMs % 75 == 0) {
        vbvis_spectrum(0, text.data(), 576);
        run.analysis += text + std::to_string(vbvis_vu(0)) + "," + std::to_string(vbvis_vu(1)) + ";";
      }
      if (track && nowMs % 10 == 0) {
        vbvis_tracker_update();
        vbvis_tracker_state state{};
        vbvis_tracker(&state);
        run.states.push_back(state);
      }
    }
    return run;
  }

  const std::string path_ = sox.folder() + "/song.wav";
};

bool same(const vbvis_tracker_state& a, const vbvis_tracker_state& b) {
  return a.bpm == b.bpm && a.confidence == b.confidence && a.locked == b.locked && a.period_us == b.period_us &&
         std::equal(std::begin(a.next_beats_us), std::end(a.next_beats_us), std::begin(b.next_beats_us));
}

// Every predicted beat within 20 ms of a true one.
bool onTheBeat(std::span<const std::int64_t> nextBeatsUs) {
  const std::vector<double> truth = drum_machine::beats(kSong);
  return std::all_of(nextBeatsUs.begin(), nextBeatsUs.end(), [&](std::int64_t beat) {
    return beat >= 0 && drum_machine::offBeat(static_cast<double>(beat) / 1e6, truth) <= 0.020;
  });
}

}  // namespace

TEST_F(TrackerApi, AFileOnTheSimulatedClockLocksOnItsBeatsTheSameEveryRun) {
  const Run plain = play(false), tracked = play(true), again = play(true);
  EXPECT_EQ(plain.analysis, tracked.analysis);
  ASSERT_EQ(tracked.states.size(), again.states.size());
  for (std::size_t i = 0; i < tracked.states.size(); ++i) ASSERT_TRUE(same(tracked.states[i], again.states[i])) << i;
  const vbvis_tracker_state& last = tracked.states.back();
  EXPECT_EQ(last.locked, 1);
  EXPECT_NEAR(last.bpm, 110.0, 2.2);
  EXPECT_NEAR(static_cast<double>(last.period_us), 60e6 / 110, 60e6 / 110 * 0.02);
  EXPECT_GT(last.confidence, 50);
  EXPECT_TRUE(onTheBeat(last.next_beats_us));
  // Predicted beats lie after the clock, in order.
  EXPECT_GT(last.next_beats_us[0], vbvis_clock_us() - 10'000);
  EXPECT_TRUE(std::is_sorted(std::begin(last.next_beats_us), std::end(last.next_beats_us)));
}

// No beat at the old tempo more than half a second after the audio stops;
// a long pause or another source starts the tracker afresh (golden
// audio_file_ends: the next music's tempo).
TEST_F(TrackerApi, LosingTheAudioStopsTheBeatsAndStartsTheTrackerAfresh) {
  struct Loss {
    std::int64_t pauseMs;
    const char* uri;  // the next source, if any
  };
  vbvis_tracker_state state{};
  for (const Loss loss : {Loss{3000, nullptr}, Loss{10, "script"}}) {
    ASSERT_TRUE(openFile(path_));
    for (const std::int64_t end = nowMs + 10000; nowMs <= end; nowMs += 10) vbvis_tracker_update();
    ASSERT_EQ(vbvis_tracker(&state), 1);
    for (const std::int64_t last = nowMs, end = nowMs + loss.pauseMs; nowMs < end; nowMs += 10)
      if (vbvis_tracker(&state) == 1) {
        ASSERT_LE(nowMs - last, 510) << "a beat at the old tempo";
      }
    if (loss.uri) {
      ASSERT_EQ(vbvis_open(loss.uri), 0);
    }
    vbvis_tracker_update();
    EXPECT_EQ(vbvis_tracker(&state), 0) << loss.pauseMs;
    EXPECT_EQ(state.bpm, 0.0);
    EXPECT_EQ(state.next_beats_us[0], -1);
  }
  EXPECT_EQ(vbvis_tracker(nullptr), -1);
}

// Live audio is timed by its arrival less the source's latency.
TEST(TrackerTap, PredictsWhenTheBeatsAreHeard) {
  vbvis::TrackerBoard board;
  vbvis::TrackerTap tap(44100, board);
  const std::vector<float> audio = drum_machine::render(kSong);
  constexpr std::int64_t kStartUs = 5'000'000, kLatencyUs = 30'000;
  for (std::size_t frame = 0; frame < audio.size() / 2; frame += 441) {
    tap.push(audio.data() + 2 * frame, 441);
    tap.arrived(kStartUs + static_cast<std::int64_t>((frame + 441) * 1e6 / 44100) + kLatencyUs, kLatencyUs);
    if (frame % (441 * 25) == 0) tap.track();
  }
  tap.track();
  vbvis::TrackerState state = board.read();
  ASSERT_TRUE(state.locked);
  for (std::int64_t& beat : state.nextBeatsUs) beat -= kStartUs;
  EXPECT_TRUE(onTheBeat(state.nextBeatsUs));
}
