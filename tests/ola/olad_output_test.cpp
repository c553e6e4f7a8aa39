// The OLA output against a real olad started by the test: an unpatched
// universe is named, a killed and restarted olad gets the current values
// back, --dmx auto takes olad only when it answers, and the output delay
// holds changes back by just the delay.
#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "tests/support/olad_process.h"
#include "tests/ola/output_helpers.h"
#include "vantorhost/dmx/ola_output.h"
#include "vantorhost/output/output_path.h"

using namespace vantorhost;

namespace {

using namespace std::chrono_literals;

class OladOutput : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(olad.start()) << "olad did not start"; }
  OlaLinkFactory connect() {
    return [port = olad.port()] { return connectToOlad(port); };
  }
  bool holds(const ChannelBuffer& channels) {
    return olad.fetch(1) == universeOf(channels, 0) && olad.fetch(2) == universeOf(channels, 1);
  }
  OladProcess olad;
};

}  // namespace

TEST_F(OladOutput, UniverseWithoutOutputIsNamed) {
  ChannelBuffer channels;
  testing::internal::CaptureStderr();
  {
    // Universe 2 has the OSC port; 3 has nothing.
    OlaOutput out(2, connect());
    serviceUntil(out, channels, [&] { return out.status().find("no output") != std::string::npos; }, 3s);
    out.service(channels);
    EXPECT_EQ(out.status(), "DMX: OLA universes 2, 3; universe 3 has no output patched");
  }
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(countOf(log, "DMX: OLA universe 3 has no output patched in olad; channels 513..1024 reach no lights"), 1u)
      << log;
  EXPECT_EQ(countOf(log, "universe 2 has no output"), 0u) << log;
}

TEST_F(OladOutput, KilledAndRestartedOladHoldsTheCurrentValuesWithinASecond) {
  ChannelBuffer channels;
  OlaOutput out(1, connect());
  channels.set(1, 1, 0);  // zeros would be there without any send
  ASSERT_TRUE(serviceUntil(out, channels, [&] { return holds(channels); }, 3s));
  olad.kill();
  // The output keeps taking values while olad is gone, and never holds up the caller.
  const auto slowest = slowestService(&out, channels, 25, 20ms, [&](int tick) {
    for (int c = 1; c <= 1024; ++c) channels.set(c, (c + tick) % 256, 0);
  });
  EXPECT_LT(slowest, 100ms);
  EXPECT_EQ(out.status(), OlaOutput::kUnreachable);
  ASSERT_TRUE(olad.start());
  const auto back = std::chrono::steady_clock::now();
  ASSERT_TRUE(serviceUntil(out, channels, [&] { return holds(channels); }, 3s));
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - back).count();
  RecordProperty("reconnect_ms", static_cast<int>(ms));
  EXPECT_LT(ms, 1000);
}

// --dmx auto takes olad when it answers at start, and else goes on looking
// for it without a word, taking it as soon as it starts.
TEST_F(OladOutput, AutoTakesOladAtStartOrWhenItStartsLater) {
  HostOptions options;
  options.olaPort = olad.port();
  ChannelBuffer channels;
  channels.set(2, 2, 0);
  {
    auto out = makeDmxOutput(options);
    // The status follows the sender's reports on the next service() calls.
    EXPECT_TRUE(serviceUntil(
        *out, channels, [&] { return holds(channels) && out->status() == "DMX: OLA universes 1, 2"; }, 3s))
        << out->status();
  }
  olad.stop();
  testing::internal::CaptureStderr();
  {
    auto looking = makeDmxOutput(options);
    EXPECT_EQ(looking->facts().state, DmxFacts::State::Looking);
    serviceUntil(*looking, channels, [] { return false; }, 1500ms);  // several attempts
    EXPECT_EQ(looking->status(), OlaOutput::kLooking);
    ASSERT_TRUE(olad.start());
    channels.set(3, 3, 0);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(serviceUntil(
        *looking, channels, [&] { return holds(channels) && looking->facts().state == DmxFacts::State::Sending; }, 5s))
        << looking->status();
    RecordProperty("found_olad_ms", static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                         std::chrono::steady_clock::now() - started)
                                                         .count()));
  }
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("no olad answers on port " + std::to_string(olad.port()) + " yet"), std::string::npos) << log;
  EXPECT_EQ(countOf(log, "not reachable"), 0u) << "looking is quiet: " << log;
  EXPECT_EQ(countOf(log, "DMX: OLA connected"), 1u) << log;
}

// The output delay: a change reaches olad the delay after the plug-in made
// it, never sooner, and no more than 10 ms later. The path is woken when
// the held-back change falls due, as the runners do.
TEST_F(OladOutput, DelayedChangesArriveTheDelayLater) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  auto ms = [&] { return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(); };
  ChannelBuffer channels;
  OlaOutput out(1, connect());
  OutputPath path(channels, out, ms);
  std::int64_t wakeAt = -1;
  path.setWake([&](std::int64_t due) { wakeAt = due; });
  channels.set(1, 1, ms());
  path.handOn();
  ASSERT_TRUE(serviceUntil(out, path.sent(), [&] { return holds(path.sent()); }, 3s));
  for (const std::int64_t delay : {0, 100, 300}) {
    path.setDelay(delay);
    std::this_thread::sleep_for(100ms);  // the sender's frame gap long over
    const auto value = static_cast<std::uint8_t>(delay / 5 + 10);
    // Another thread asks olad over and over: the value got there after the
    // start of the last fetch without it and before the end of the first
    // with it.
    std::int64_t after = -1, by = -1;
    const std::int64_t made = ms();
    std::thread watch([&] {
      for (std::int64_t asked = ms(); by < 0 && ms() < made + delay + 1000;) {
        const std::int64_t next = ms();
        if (const auto held = olad.fetch(1); held && (*held)[6] == value) after = asked, by = ms();
        asked = next;
      }
    });
    channels.set(7, value, made);
    path.handOn();
    if (wakeAt >= 0) {
      std::this_thread::sleep_until(start + std::chrono::milliseconds(wakeAt));
      path.handOn();
    }
    watch.join();
    ASSERT_GE(by, 0) << "delay " << delay;
    RecordProperty("arrival_ms_at_delay_" + std::to_string(delay), static_cast<int>(by - made));
    std::printf("delay %lld ms: at olad after %lld..%lld ms\n", static_cast<long long>(delay),
                static_cast<long long>(after - made), static_cast<long long>(by - made));
    EXPECT_GE(by - made, delay);
    EXPECT_LE(after - made, delay + 10);
  }
}
