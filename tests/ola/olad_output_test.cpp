// The OLA output against a real olad started by the test.
#include <gtest/gtest.h>

#include "tests/support/olad_process.h"
#include "tests/ola/output_helpers.h"
#include "vantorhost/dmx/ola_output.h"

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

// Meanwhile the caller is never held up, and the log says so once.
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
