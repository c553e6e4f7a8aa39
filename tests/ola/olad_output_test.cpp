// The OLA output against a real olad started by the test (--dmx auto, and
// a universe without an output named: host_window_olad_test).
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
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

// The output lives through olad killed and restarted: it never holds up
// the caller meanwhile, says so once, and olad has the current values back
// within a second.
TEST_F(OladOutput, KilledAndRestartedOladHoldsTheCurrentValuesWithinASecond) {
  ChannelBuffer channels;
  testing::internal::CaptureStderr();
  {
    OlaOutput out(1, connect());
    channels.set(1, 1, 0);  // zeros would be there without any send
    ASSERT_TRUE(serviceUntil(out, channels, [&] { return holds(channels); }, 3s));
    olad.kill();
    const auto slowest = slowestService(&out, channels, 25, 20ms, [&](int tick) {
      for (int c = 1; c <= 1024; ++c) channels.set(c, (c + tick) % 256, 0);
    });
    EXPECT_LT(slowest, 100ms);
    EXPECT_EQ(out.status(), OlaOutput::kUnreachable);
    ASSERT_TRUE(olad.start());
    const auto back = std::chrono::steady_clock::now();
    ASSERT_TRUE(serviceUntil(out, channels, [&] { return holds(channels); }, 3s));
    EXPECT_LT(std::chrono::steady_clock::now() - back, 1s);
  }
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(countOf(log, "DMX: OLA not reachable, retrying"), 1u) << log;
  EXPECT_EQ(countOf(log, "DMX: OLA connected"), 2u) << log;
}

// Master and blackout reach olad within one DMX frame of the hand that
// moved them, also while the plug-in's channels keep the sender busy: their
// frame goes out without waiting for the frame gap.
TEST_F(OladOutput, MasterAndBlackoutReachOladWithinAFrame) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  auto ms = [&] { return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count() / 1000.0; };
  ChannelBuffer channels;
  OlaOutput out(1, connect());
  OutputPath path(channels, out, [&] { return static_cast<std::int64_t>(ms()); });
  channels.set(1, 200, 0);
  path.handOn();
  ASSERT_TRUE(serviceUntil(out, path.sent(), [&] { return holds(path.sent()); }, 3s));
  struct Step {
    const char* what;
    std::function<void()> act;
    std::uint8_t expected;
  };
  const std::vector<Step> steps{{"blackout", [&] { path.setBlackout(true); }, 0},
                                {"release", [&] { path.setBlackout(false); }, 200},
                                {"master 50 %", [&] { path.setMaster(50); }, 100},
                                {"master 100 %", [&] { path.setMaster(100); }, 200}};
  for (int round = 0; round < 5; ++round)
    for (const Step& step : steps) {
      // Another thread asks olad over and over: the value got there after
      // the start of the last fetch without it.
      double after = -1, by = -1;
      std::atomic<bool> acted = false;
      double actedAt = 0;
      std::thread watch([&] {
        while (!acted) std::this_thread::yield();
        for (double asked = ms(); by < 0 && ms() < actedAt + 1000;) {
          const double next = ms();
          if (const auto held = olad.fetch(1); held && (*held)[0] == step.expected) after = asked, by = ms();
          asked = next;
        }
      });
      // The plug-in moves channel 2 on every 7 ms, so a frame has always
      // just gone out; the hand comes at some point in between.
      for (int i = 0; i < 10 + round; ++i) {
        channels.set(2, (i * 37 + round) % 256, 0);
        path.handOn();
        std::this_thread::sleep_for(7ms);
      }
      actedAt = ms();
      step.act();
      acted = true;
      for (int i = 0; i < 10; ++i) {
        channels.set(2, i * 11 % 256, 0);
        path.handOn();
        std::this_thread::sleep_for(7ms);
      }
      watch.join();
      ASSERT_GE(by, 0) << step.what;
      EXPECT_LE(after - actedAt, OutputPath::kFrameMs) << step.what << " in round " << round;
    }
}
