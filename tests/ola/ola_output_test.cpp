// The OLA output's sender against a stand-in for olad that can be stopped,
// restarted and hung: state lines, re-sending, pacing and closing.
#include <gtest/gtest.h>
#include <pthread.h>

#include <condition_variable>
#include <csignal>
#include <map>
#include <mutex>
#include <vector>

#include "tests/ola/output_helpers.h"
#include "vantorhost/dmx/ola_output.h"

using namespace vantorhost;

namespace {

using namespace std::chrono_literals;
using Values = std::array<std::uint8_t, 512>;

// olad as the sender sees it. A restart makes older links dead for good.
struct FakeOlad {
  std::mutex mutex;
  std::condition_variable released;
  bool up = true;
  bool hung = false;        // send() blocks until unhung
  bool brokenPipe = false;  // send() raises SIGPIPE on its thread, as a write to a closed socket does
  int generation = 0, attempts = 0;
  std::map<unsigned, std::vector<Values>> sent;

  template <class F>
  auto locked(F f) {
    std::lock_guard lock(mutex);
    return f();
  }
  void setUp(bool on) { locked([&] { up = on, generation += !on; }); }
  void unhang() {
    locked([&] { hung = false; });
    released.notify_all();
  }
  int attemptsSoFar() { return locked([&] { return attempts; }); }
  std::size_t sends(unsigned u) { return locked([&] { return sent[u].size(); }); }
  std::size_t sendsBoth() { return sends(1) + sends(2); }
  std::optional<Values> last(unsigned u) {
    return locked([&] { return sent[u].empty() ? std::nullopt : std::optional<Values>(sent[u].back()); });
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
    olad_->sent[universe].emplace_back();
    std::copy(values, values + 512, olad_->sent[universe].back().begin());
    return true;
  }
  bool alive() override {
    std::lock_guard lock(olad_->mutex);
    return connected();
  }
  void settle(int) override {}
  std::optional<UniverseOutputs> universeOutputs(int) override {
    return UniverseOutputs{{1, 1}, {2, 1}};  // both patched; olad_output_test covers unpatched
  }

 private:
  bool connected() const { return olad_->up && olad_->generation == generation_; }
  std::shared_ptr<FakeOlad> olad_;
  int generation_;
};

class OlaOutputTest : public testing::Test {
 protected:
  OlaLinkFactory factory() {
    return [olad = olad]() -> std::unique_ptr<OlaLink> {
      std::lock_guard lock(olad->mutex);
      ++olad->attempts;
      return olad->up ? std::make_unique<FakeLink>(olad) : nullptr;
    };
  }
  std::shared_ptr<FakeOlad> olad = std::make_shared<FakeOlad>();
  ChannelBuffer channels;
};

}  // namespace

TEST_F(OlaOutputTest, ChannelsSplitIntoTwoUniversesFromU) {
  for (auto [c, v] : {std::pair{1, 10}, {512, 20}, {513, 30}, {1024, 40}}) channels.set(c, v, 0);
  OlaOutput out(7, factory());
  ASSERT_TRUE(serviceUntil(out, channels, [&] { return olad->last(7) && olad->last(8); }, 2s));
  EXPECT_EQ(olad->last(7), universeOf(channels, 0));
  EXPECT_EQ(olad->last(8), universeOf(channels, 1));
}

TEST_F(OlaOutputTest, OneLogLinePerStateChangeAndBothUniversesAgainAfterReconnect) {
  olad->up = false;
  channels.set(600, 99, 0);
  testing::internal::CaptureStderr();
  {
    OlaOutput out(1, factory());
    // Several retries while olad is away, but a single line about it.
    serviceUntil(out, channels, [&] { return olad->attemptsSoFar() >= 3 && out.status() == OlaOutput::kUnreachable; }, 2s);
    EXPECT_EQ(out.status(), "DMX: OLA not reachable, retrying");
    olad->setUp(true);
    // The status follows the sender's reports on the next service() calls.
    EXPECT_TRUE(serviceUntil(
        out, channels, [&] { return olad->last(2).has_value() && out.status() == "DMX: OLA universes 1, 2"; }, 2s))
        << out.status();
    olad->setUp(false);
    serviceUntil(out, channels, [&] { return out.status() == OlaOutput::kUnreachable; }, 2s);
    const std::size_t before = olad->sendsBoth();
    olad->setUp(true);
    // Nothing changed, yet both universes go out at once on the new connection.
    ASSERT_TRUE(serviceUntil(out, channels, [&] { return olad->sendsBoth() >= before + 2; }, 2s));
    EXPECT_EQ((*olad->last(2))[600 - 513], 99);
  }
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(countOf(log, "DMX: OLA not reachable, retrying"), 2u) << log;
  EXPECT_EQ(countOf(log, "DMX: OLA connected: channels 1..512 go to universe 1, 513..1024 to universe 2"), 2u) << log;
  EXPECT_EQ(countOf(log, "\n"), 4u) << log;
}

TEST_F(OlaOutputTest, ChangesEveryMillisecondGoOutAtMost40TimesASecond) {
  OlaOutput out(1, factory());
  const auto end = std::chrono::steady_clock::now() + 500ms;
  for (int v = 0; std::chrono::steady_clock::now() < end; ++v) {
    for (int c = 1; c <= 1024; ++c) channels.set(c, (v + c) % 256, 0);
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

TEST_F(OlaOutputTest, QuietUniverseIsRefreshedEverySecond) {
  OlaOutput out(1, factory());
  serviceUntil(out, channels, [&] { return olad->sends(1) >= 1; }, 1s);
  const std::size_t first = olad->sends(1);
  serviceUntil(out, channels, [] { return false; }, 2400ms);
  EXPECT_GE(olad->sends(1) - first, 2u);
  EXPECT_LE(olad->sends(1) - first, 3u);
}

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
    EXPECT_GE(olad->attemptsSoFar(), 1);
    EXPECT_EQ(olad->sendsBoth(), 0u);
  }
  EXPECT_EQ(olad->sendsBoth(), 0u);
}
