// The OLA output's sender against a stand-in for olad that can hang or
// break the pipe, or notes when each send went.
#include <gtest/gtest.h>
#include <pthread.h>

#include <condition_variable>
#include <csignal>
#include <mutex>
#include <vector>

#include "tests/ola/output_helpers.h"
#include "vantorhost/dmx/ola_output.h"

using namespace vantorhost;

namespace {

using namespace std::chrono_literals;

// olad as the sender sees it: it can hang every send, or break the pipe.
struct FakeOlad {
  std::mutex mutex;
  std::condition_variable released;
  bool hung = false;        // send() blocks until unhung
  bool brokenPipe = false;  // send() raises SIGPIPE on its thread, as a write to a closed socket does
  int attempts = 0, sends = 0;
  std::vector<std::chrono::steady_clock::time_point> sentAt;

  int locked(const int& value) {
    std::lock_guard lock(mutex);
    return value;
  }
  void unhang() {
    {
      std::lock_guard lock(mutex);
      hung = false;
    }
    released.notify_all();
  }
};

class FakeLink final : public OlaLink {
 public:
  explicit FakeLink(std::shared_ptr<FakeOlad> olad) : olad_(std::move(olad)) {}
  bool send(unsigned, const std::uint8_t*) override {
    std::unique_lock lock(olad_->mutex);
    olad_->released.wait(lock, [&] { return !olad_->hung; });
    if (olad_->brokenPipe) pthread_kill(pthread_self(), SIGPIPE);
    else {
      ++olad_->sends;
      olad_->sentAt.push_back(std::chrono::steady_clock::now());
    }
    return !olad_->brokenPipe;
  }
  bool alive() override { return true; }
  void settle(int) override {}
  std::optional<UniverseOutputs> universeOutputs(int) override { return UniverseOutputs{{1, 1}, {2, 1}}; }

 private:
  std::shared_ptr<FakeOlad> olad_;
};

class OlaOutputTest : public testing::Test {
 protected:
  OlaLinkFactory factory() {
    return [olad = olad]() -> std::unique_ptr<OlaLink> {
      std::lock_guard lock(olad->mutex);
      ++olad->attempts;
      return std::make_unique<FakeLink>(olad);
    };
  }
  std::shared_ptr<FakeOlad> olad = std::make_shared<FakeOlad>();
  ChannelBuffer channels;
};

}  // namespace

TEST_F(OlaOutputTest, HungOladNeverBlocksServiceAndClosingGivesUp) {
  olad->hung = true;
  auto out = std::make_unique<OlaOutput>(1, factory());
  const auto slowest = slowestService(out.get(), channels, 50, 2ms, [&](int i) { channels.set(1 + i, i, 0); });
  EXPECT_LT(slowest, 100ms);
  const auto t0 = std::chrono::steady_clock::now();
  out.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 3s);
  olad->unhang();  // lets the abandoned sender finish
  std::this_thread::sleep_for(50ms);
}

TEST_F(OlaOutputTest, BrokenPipeNeverKillsTheProgram) {
  std::signal(SIGPIPE, SIG_DFL);  // as in every run mode that does not ignore it
  olad->brokenPipe = true;
  OlaOutput out(1, factory());
  serviceUntil(out, channels, [&] { return out.status() == OlaOutput::kUnreachable; }, 2s);
  EXPECT_EQ(out.status(), OlaOutput::kUnreachable);
}

TEST_F(OlaOutputTest, NothingIsSentBeforeTheHostHandsOverItsValues) {
  // olad may still hold the look of an earlier run; zeros must not replace it unasked.
  {
    OlaOutput out(1, factory());
    std::this_thread::sleep_for(300ms);
    EXPECT_GE(olad->locked(olad->attempts), 1);
    EXPECT_EQ(olad->locked(olad->sends), 0);
  }
  EXPECT_EQ(olad->locked(olad->sends), 0);
}

// Master and blackout wait for no frame gap (25 ms otherwise); the quickest
// of five rounds counts, so that a busy machine's stall does not.
TEST_F(OlaOutputTest, AHurriedChangeSkipsTheFrameGap) {
  OlaOutput out(1, factory());
  // Services until one more send went out; gives when it went.
  const auto nextSend = [&] {
    const int before = olad->locked(olad->sends);
    EXPECT_TRUE(serviceUntil(out, channels, [&] { return olad->locked(olad->sends) > before; }, 2s, 1ms));
    std::lock_guard lock(olad->mutex);
    return olad->sentAt.back();
  };
  auto quickest = std::chrono::steady_clock::duration::max();
  for (int round = 1; round <= 5; ++round) {
    std::this_thread::sleep_for(50ms);  // the frame gap long past: the change goes at once
    channels.set(1, round, 0);
    const auto first = nextSend();
    channels.set(1, 100 + round, 0);
    out.hurry();
    quickest = std::min(quickest, nextSend() - first);
  }
  EXPECT_LT(quickest, 10ms);
}
