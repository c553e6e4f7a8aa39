// The output path's stages on a clock the test moves (a fade on a plug-in
// stepping every tick: golden output_fade).
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "tests/host/fixture_definitions.h"
#include "tests/host/steady_tracker.h"
#include "vantorhost/output/beat_output.h"
#include "vantorhost/output/output_path.h"

using namespace vantorhost;

namespace {

class RecordingOutput final : public DmxOutput {
 public:
  void service(const ChannelBuffer&) override { ++services; }
  void hurry() override { ++hurries; }
  std::string status() const override { return "test"; }
  DmxFacts facts() const override { return {}; }
  int services = 0, hurries = 0;
};

class OutputPathTest : public testing::Test {
 protected:
  // Runs the clock to `until` as a runner does (`tick` every 75 ms, the path
  // woken when it asks), recording `channel` at every millisecond.
  template <class Tick>
  void run(std::int64_t until, int channel, Tick tick) {
    for (; now <= until; ++now) {
      if (now % 75 == 0) {
        tick(now);
        path.handOn();
      }
      if (const std::int64_t due = path.nextWakeMs(); due >= 0 && due <= now) {
        path.handOn();
        wakes.push_back(now);
      }
      out[now] = path.sent().get(channel);
    }
  }
  // What went out at these milliseconds.
  std::vector<int> outAt(std::initializer_list<std::int64_t> times) {
    std::vector<int> values;
    for (std::int64_t t : times) values.push_back(out[t]);
    return values;
  }
  std::int64_t now = 0;
  ChannelBuffer channels;
  RecordingOutput output;
  OutputPath path{channels, output, [this] { return now; }};
  std::map<std::int64_t, int> out;
  std::vector<std::int64_t> wakes;
};

}  // namespace

TEST_F(OutputPathTest, AFallEndsWhereItGoesAndThenNothingWakes) {
  path.setFade(300);
  channels.set(1, 200, now);
  path.handOn();
  now = 10;
  channels.set(1, 20, now);
  path.handOn();
  EXPECT_EQ(path.nextWakeMs(), 35);
  run(400, 1, [](std::int64_t) {});
  EXPECT_EQ(outAt({10, 160, 310}), (std::vector<int>{200, 110, 20})) << "half way down, half the fade later";
  EXPECT_EQ(path.nextWakeMs(), -1);
  const std::size_t frames = wakes.size();
  run(2000, 1, [](std::int64_t) {});
  EXPECT_EQ(wakes.size(), frames) << "no frames while nothing moves";
}

// A moving head at 10 whose colour wheel (14) alone the design drives rests
// open and centred, the master and blackout acting on its dimmer only.
TEST_F(OutputPathTest, FixturesRestWhereUndrivenAndMasterSparesTheirPosition) {
  fixtures_test::MemoryDefinitions library;
  library.add(fixtures_test::qxf("Acme", "Head", fixtures_test::headBody(), "Moving Head"));
  FixturePatch patch;
  ASSERT_FALSE(patch.place({"head", "Acme", "Head", "5ch", 10}, library));
  channels.set(14, 40, 0);
  channels.set(11, 99, 0);  // left on tilt by an earlier design
  channels.set(1, 200, 0);
  path.handOn();
  path.setPatch(patch, {14, 1});
  const auto sent = [&] {
    std::vector<int> v;
    for (int c : {10, 11, 12, 13, 14, 1}) v.push_back(path.sent().get(c));
    return v;
  };
  EXPECT_EQ(sent(), (std::vector<int>{128, 128, 255, 11, 40, 200}));
  path.setMaster(50);
  EXPECT_EQ(sent(), (std::vector<int>{128, 128, 128, 11, 40, 100}));
  path.setBlackout(true);
  EXPECT_EQ(sent(), (std::vector<int>{128, 128, 0, 11, 40, 0}));
  path.setBlackout(false);
  path.setMaster(100);
  path.setPatch(patch, {14, 1, 12});
  EXPECT_EQ(sent(), (std::vector<int>{128, 128, 0, 11, 40, 200})) << "a driven dimmer takes the plug-in's value";
  path.setPatch(FixturePatch(), {});
  EXPECT_EQ(sent(), (std::vector<int>{0, 99, 0, 0, 40, 200})) << "no patch: the plug-in's buffer as it stands";
}

TEST_F(OutputPathTest, MasterAndBlackoutActLastAndAtOnce) {
  channels.set(1, 201, 0);
  channels.set(600, 255, 0);
  path.setFade(500);
  path.handOn();
  path.setMaster(50);
  EXPECT_EQ(path.sent().get(1), 101) << "201 * 50 %, rounded";
  EXPECT_EQ(path.sent().get(600), 128);
  EXPECT_EQ(output.hurries, 1) << "the master waives the frame gap";
  path.setBlackout(true);
  for (const int c : {1, 600}) EXPECT_EQ(path.sent().get(c), 0) << c;
  // The plug-in goes on underneath; the fade goes on under the blackout.
  now = 100;
  channels.set(1, 0, now);
  path.handOn();
  EXPECT_EQ(path.sent().get(1), 0);
  now = 350;
  path.setBlackout(false);
  EXPECT_EQ(path.sent().get(1), 51) << "half way down the fade (101), at 50 %";
  path.setMaster(100);
  EXPECT_EQ(path.sent().get(600), 255);
  EXPECT_EQ(output.hurries, 4);
  // Out of range: the master keeps to 0..100.
  path.setMaster(250);
  EXPECT_EQ(path.masterPercent(), 100);
}

TEST_F(OutputPathTest, TheDelayHoldsEachChangeBackByJustTheDelay) {
  path.setDelay(100);
  run(1000, 1, [this](std::int64_t t) {
    if (t == 300 || t == 375) channels.set(1, static_cast<std::int32_t>(t / 3), t);
  });
  EXPECT_EQ(outAt({399, 400, 474, 475}), (std::vector<int>{0, 100, 100, 125}));
  EXPECT_EQ(wakes, (std::vector<std::int64_t>{100, 400, 475})) << "the first hand-on at 0, then each change";
}

TEST_F(OutputPathTest, FinishEndsTheDelayAndTheFalls) {
  path.setFade(2000);
  path.setDelay(300);
  channels.set(1, 255, 0);
  path.handOn();
  now = 300;
  path.handOn();
  EXPECT_EQ(path.sent().get(1), 255);
  channels.set(1, 7, now);
  path.handOn();
  now = 400;
  path.finish();
  EXPECT_EQ(path.sent().get(1), 7) << "what the plug-in sent last goes out";
  EXPECT_EQ(path.nextWakeMs(), -1);
}

// The beat output goes out on the beat's millisecond, merged HTP, faded and delayed.
TEST_F(OutputPathTest, TheBeatOutputGoesOutOnItsMillisecondHtpFadedAndDelayed) {
  channels.set(10, 100, 0);
  // A steady beat heard at 1003 + k * 500 ms, flashing channel 10 for 50 ms.
  const SteadyTracker tracker{now, 120, 1'003'000};
  BeatOutput beats(0, tracker.clock());
  beats.setPattern({BeatPattern::Mode::Flash, 50, {10}});
  path.addLayer(beats);
  const int hurried = output.hurries;
  run(1600, 10, [](std::int64_t) {});
  EXPECT_EQ(outAt({1002, 1003, 1052, 1053, 1503}), (std::vector<int>{100, 255, 255, 100, 255}))
      << "on the beat's millisecond, the plug-in's value again when the flash ends";
  EXPECT_EQ(wakes, (std::vector<std::int64_t>{1003, 1053, 1503, 1553})) << "frames only where the light changes";
  EXPECT_GE(output.hurries - hurried, 2) << "a beat's frame waits for no frame gap";
  path.setFade(100);
  run(2200, 10, [](std::int64_t) {});
  EXPECT_EQ(outAt({2053, 2103, 2153}), (std::vector<int>{255, 178, 100})) << "the fall starts where the flash ends";
  path.setFade(0);
  // Speakers that lag 120 ms: the light lags with them.
  path.setDelay(120);
  run(2700, 10, [](std::int64_t) {});
  EXPECT_EQ(outAt({2622, 2623}), (std::vector<int>{100, 255}));
  path.removeLayer(beats);
}
