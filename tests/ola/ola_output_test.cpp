// The OLA output's sender against a stand-in for olad that can be stopped,
// restarted and hung: state lines, re-sending, pacing and closing.
#include <gtest/gtest.h>
#include <pthread.h>

#include <csignal>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/ola/test_support.h"
#include "vantorhost/dmx/ola_output.h"

namespace {

using namespace std::chrono_literals;
using Values = std::array<std::uint8_t, 512>;

// olad as the sender sees it. A restart makes older links dead for good.
struct FakeOlad {
  std::mutex mutex;
  std::condition_variable released;
  bool up = true;
  bool hung = false;  // send() blocks until unhung
  bool brokenPipe = false;  // send() raises SIGPIPE on its thread, as a write to a closed socket does
  int generation = 0;
  int attempts = 0;
  UniverseOutputs outputs{{1, 1}, {2, 1}};
  std::map<unsigned, std::vector<Values>> sent;

  void kill() {
    std::lock_guard lock(mutex);
    up = false;
    ++generation;
  }
  void start() {
    std::lock_guard lock(mutex);
    up = true;
  }
  void unhang() {
    {
      std::lock_guard lock(mutex);
      hung = false;
    }
    released.notify_all();
  }
  int attemptsSoFar() {
    std::lock_guard lock(mutex);
    return attempts;
  }
  std::size_t sends(unsigned universe) {
    std::lock_guard lock(mutex);
    return sent[universe].size();
  }
  std::optional<Values> last(unsigned universe) {
    std::lock_guard lock(mutex);
    if (sent[universe].empty()) return std::nullopt;
    return sent[universe].back();
  }
};

class FakeLink final : public OlaLink {
 public:
  explicit FakeLink(std::shared_ptr<FakeOlad> olad) : olad_(std::move(olad)), generation_(olad_->generation) {}
  bool send(unsigned universe, const std::uint8_t* values) override {
    std::unique_lock lock(olad_->mutex);
    olad_->released.wait(lock, [&] { return !olad_->hung; });
    if (olad_->brokenPipe) {
      pthread_kill(pthread_self(), SIGPIPE);
      return false;
    }
    if (!connected()) return false;
    Values v;
    std::copy(values, values + 512, v.begin());
    olad_->sent[universe].push_back(v);
    return true;
  }
  bool alive() override {
    std::lock_guard lock(olad_->mutex);
    return connected();
  }
  void settle(int) override {}
  std::optional<UniverseOutputs> universeOutputs(int) override {
    std::lock_guard lock(olad_->mutex);
    return olad_->outputs;
  }

 private:
  bool connected() const { return olad_->up && olad_->generation == generation_; }
  std::shared_ptr<FakeOlad> olad_;
  int generation_;
};

OlaLinkFactory factoryFor(const std::shared_ptr<FakeOlad>& olad) {
  return [olad]() -> std::unique_ptr<OlaLink> {
    std::lock_guard lock(olad->mutex);
    ++olad->attempts;
    if (!olad->up) return nullptr;
    return std::make_unique<FakeLink>(olad);
  };
}

}  // namespace

TEST(OlaOutput, ChannelsSplitIntoTwoUniversesFromU) {
  auto olad = std::make_shared<FakeOlad>();
  ChannelBuffer channels;
  channels.set(1, 10, 0);
  channels.set(512, 20, 0);
  channels.set(513, 30, 0);
  channels.set(1024, 40, 0);
  OlaOutput out(7, factoryFor(olad));
  ASSERT_TRUE(serviceUntil(out, channels, [&] { return olad->last(7) && olad->last(8); }, 2s));
  EXPECT_EQ((*olad->last(7))[0], 10);
  EXPECT_EQ((*olad->last(7))[511], 20);
  EXPECT_EQ((*olad->last(8))[0], 30);
  EXPECT_EQ((*olad->last(8))[511], 40);
}

TEST(OlaOutput, OneLogLinePerStateChangeAndBothUniversesAgainAfterReconnect) {
  auto olad = std::make_shared<FakeOlad>();
  olad->up = false;
  ChannelBuffer channels;
  channels.set(600, 99, 0);
  testing::internal::CaptureStderr();
  {
    OlaOutput out(1, factoryFor(olad));
    // Several retries while olad is away, but a single line about it.
    serviceUntil(out, channels, [&] { return olad->attemptsSoFar() >= 3; }, 2s);
    EXPECT_EQ(out.status(), "DMX: OLA not reachable, retrying");
    olad->start();
    ASSERT_TRUE(serviceUntil(out, channels, [&] { return olad->last(2).has_value(); }, 2s));
    EXPECT_EQ(out.status(), "DMX: OLA universes 1, 2");
    olad->kill();
    serviceUntil(out, channels, [&] { return out.status() == OlaOutput::kUnreachable; }, 2s);
    const std::size_t before = olad->sends(1) + olad->sends(2);
    olad->start();
    // Nothing changed, yet both universes go out at once on the new connection.
    ASSERT_TRUE(serviceUntil(out, channels, [&] { return olad->sends(1) + olad->sends(2) >= before + 2; }, 2s));
    EXPECT_EQ((*olad->last(2))[600 - 513], 99);
  }
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(countOf(log, "DMX: OLA not reachable, retrying"), 2u) << log;
  EXPECT_EQ(countOf(log, "DMX: OLA connected: channels 1..512 go to universe 1, 513..1024 to universe 2"), 2u) << log;
  EXPECT_EQ(countOf(log, "\n"), 4u) << log;
}

TEST(OlaOutput, UnpatchedUniverseIsNamedInLogAndStatus) {
  auto olad = std::make_shared<FakeOlad>();
  olad->outputs = {{1, 1}};
  ChannelBuffer channels;
  testing::internal::CaptureStderr();
  OlaOutput out(1, factoryFor(olad));
  serviceUntil(out, channels, [&] { return out.status().find("no output") != std::string::npos; }, 2s);
  out.service(channels, 0);
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(out.status(), "DMX: OLA universes 1, 2; universe 2 has no output patched");
  EXPECT_EQ(countOf(log, "universe 2 has no output patched in olad; channels 513..1024"), 1u) << log;
  EXPECT_EQ(countOf(log, "universe 1 has no output"), 0u) << log;
}

TEST(OlaOutput, ChangesEveryMillisecondGoOutAtMost40TimesASecond) {
  auto olad = std::make_shared<FakeOlad>();
  ChannelBuffer channels;
  OlaOutput out(1, factoryFor(olad));
  const auto end = std::chrono::steady_clock::now() + 500ms;
  std::int32_t v = 0;
  while (std::chrono::steady_clock::now() < end) {
    for (int c = 1; c <= 1024; ++c) channels.set(c, (v + c) % 256, 0);
    ++v;
    out.service(channels, 0);
    std::this_thread::sleep_for(1ms);
  }
  // 500 ms at one frame per 25 ms, plus the first frame.
  EXPECT_LE(olad->sends(1), 21u);
  EXPECT_LE(olad->sends(2), 21u);
  EXPECT_GE(olad->sends(1), 5u);
  // The latest values still arrive once the changes stop.
  ASSERT_TRUE(serviceUntil(out, channels, [&] { return olad->last(2) == universeOf(channels, 1); }, 1s));
  EXPECT_EQ(olad->last(1), universeOf(channels, 0));
}

TEST(OlaOutput, QuietUniverseIsRefreshedEverySecond) {
  auto olad = std::make_shared<FakeOlad>();
  ChannelBuffer channels;
  OlaOutput out(1, factoryFor(olad));
  serviceUntil(out, channels, [&] { return olad->sends(1) >= 1; }, 1s);
  const std::size_t first = olad->sends(1);
  serviceUntil(out, channels, [] { return false; }, 2400ms);
  EXPECT_GE(olad->sends(1) - first, 2u);
  EXPECT_LE(olad->sends(1) - first, 3u);
}

TEST(OlaOutput, ClosingSendsTheLastValues) {
  auto olad = std::make_shared<FakeOlad>();
  ChannelBuffer channels;
  {
    OlaOutput out(1, factoryFor(olad));
    serviceUntil(out, channels, [&] { return olad->sends(2) >= 1; }, 1s);
    // Changed within the frame gap: only the close can send it.
    channels.set(1024, 77, 0);
    channels.set(3, 5, 0);
    out.service(channels, 0);
  }
  EXPECT_EQ((*olad->last(2))[511], 77);
  EXPECT_EQ((*olad->last(1))[2], 5);
}

TEST(OlaOutput, HungOladNeverBlocksServiceAndClosingGivesUp) {
  auto olad = std::make_shared<FakeOlad>();
  olad->hung = true;
  ChannelBuffer channels;
  auto out = std::make_unique<OlaOutput>(1, factoryFor(olad));
  auto slowest = std::chrono::steady_clock::duration::zero();
  for (int i = 0; i < 50; ++i) {
    channels.set(1 + i, i, 0);
    const auto t0 = std::chrono::steady_clock::now();
    out->service(channels, 0);
    slowest = std::max(slowest, std::chrono::steady_clock::now() - t0);
    std::this_thread::sleep_for(2ms);
  }
  EXPECT_LT(slowest, 100ms);
  const auto t0 = std::chrono::steady_clock::now();
  out.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 3s);
  olad->unhang();  // lets the abandoned sender finish
  std::this_thread::sleep_for(50ms);
}

TEST(OlaOutput, BrokenPipeNeverKillsTheProgram) {
  // The default action of SIGPIPE ends the process, as in every run mode
  // that does not ignore it.
  std::signal(SIGPIPE, SIG_DFL);
  auto olad = std::make_shared<FakeOlad>();
  olad->brokenPipe = true;
  ChannelBuffer channels;
  OlaOutput out(1, factoryFor(olad));
  serviceUntil(out, channels, [&] { return out.status() == OlaOutput::kUnreachable; }, 2s);
  EXPECT_EQ(out.status(), OlaOutput::kUnreachable);
}

TEST(OlaOutput, NothingIsSentBeforeTheHostHandsOverItsValues) {
  // olad may still hold the look of an earlier run; zeros must not replace it unasked.
  auto olad = std::make_shared<FakeOlad>();
  {
    OlaOutput out(1, factoryFor(olad));
    std::this_thread::sleep_for(300ms);
    EXPECT_GE(olad->attemptsSoFar(), 1);
    EXPECT_EQ(olad->sends(1) + olad->sends(2), 0u);
  }
  EXPECT_EQ(olad->sends(1) + olad->sends(2), 0u);
}
