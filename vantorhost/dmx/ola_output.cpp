#include "vantorhost/dmx/ola_output.h"

#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

#include "vantorhost/base/log.h"
#include "vantorhost/dmx/retry_delay.h"
#include "vantorhost/dmx/send_schedule.h"

namespace vantorhost {

using Universe = std::array<std::uint8_t, ChannelBuffer::kUniverseSize>;

// What the event loop and the sender thread share, under one mutex. The
// sender keeps its own reference, so it may outlive an output whose
// destructor gave up waiting for a hung olad.
struct OlaOutput::Shared {
  std::mutex mutex;
  std::condition_variable wake;      // new values or stop, for the sender
  std::condition_variable finished;  // the sender has left, for the destructor
  std::array<Universe, 2> latest{};
  std::array<bool, 2> changed{};
  bool given = false;  // the event loop has handed over the channels at least once
  bool hurry = false;  // the values handed over go out at once
  bool stopping = false;
  bool done = false;
  std::vector<std::string> reports;  // log lines, written by the event loop
  std::string status;
  DmxFacts facts;
};

namespace {

using Clock = std::chrono::steady_clock;

// How often a quiet connection is checked for olad having gone.
constexpr std::int64_t kWatchMs = 100;
// How long olad may take to list its universes after connecting.
constexpr int kUniverseListTimeoutMs = 500;
// How long closing waits for olad to confirm the last values; another source
// merged into the same universe makes it wait this long.
constexpr int kSettleMs = 500;
// The longest wait between attempts while a service that is not olad holds
// its port.
constexpr std::int64_t kNotOladLongestMs = 30'000;
// How long closing the program waits for the last values to go out.
constexpr auto kFinalSendWait = std::chrono::seconds(2);

std::int64_t nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

// A write to a connection olad has just closed raises SIGPIPE; blocked on
// this thread it only makes the write fail, whatever the rest of the
// process does with the signal. The event loop's own signals (Ctrl-C) are
// left to the main thread.
void blockSignalsOnThisThread() {
  sigset_t all;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, nullptr);
}

class Sender {
 public:
  Sender(std::shared_ptr<OlaOutput::Shared> shared, unsigned first, OlaLinkFactory connect, bool lookQuietly)
      : shared_(std::move(shared)),
        first_(first),
        connect_(std::move(connect)),
        state_(lookQuietly ? State::Looking : State::Starting) {}

  void run() {
    blockSignalsOnThisThread();
    std::int64_t wakeAt = nowMs();
    for (;;) {
      if (takeNewValues(wakeAt)) break;
      wakeAt = step(nowMs());
    }
    sendLastValues();
    {
      std::lock_guard lock(shared_->mutex);
      shared_->done = true;
    }
    shared_->finished.notify_all();
  }

 private:
  enum class State { Looking, Starting, Up, Down, NotOlad };

  // Waits until wakeAt or new values; true when the output is stopping.
  bool takeNewValues(std::int64_t wakeAt) {
    std::unique_lock lock(shared_->mutex);
    const auto deadline = Clock::time_point(std::chrono::milliseconds(wakeAt));
    shared_->wake.wait_until(lock, deadline,
                             [&] { return shared_->stopping || shared_->changed[0] || shared_->changed[1]; });
    for (std::size_t u = 0; u < 2; ++u) {
      if (!shared_->changed[u]) continue;
      values_[u] = shared_->latest[u];
      shared_->changed[u] = false;
      schedules_[u].changed();
      haveValues_ = true;
    }
    hurry_ = hurry_ || shared_->hurry;
    shared_->hurry = false;
    return shared_->stopping;
  }

  // Connects, watches and sends as due; gives the time of the next step.
  std::int64_t step(std::int64_t now) {
    if (!link_ && now >= nextAttemptMs_) attempt(now);
    if (link_ && !link_->alive()) lose(now);
    // Nothing goes out before the host's own values: olad may still hold
    // the look of an earlier run.
    if (link_ && haveValues_) sendDue(now);
    if (link_ && now >= nextPatchCheckMs_) checkPatch(now);
    if (!link_) return nextAttemptMs_;
    std::int64_t next = std::min(now + kWatchMs, nextPatchCheckMs_);
    if (haveValues_)
      for (const auto& s : schedules_) next = std::min(next, s.nextDueMs(now));
    return next;
  }

  void attempt(std::int64_t now) {
    OlaAttempt tried = connect_();
    link_ = std::move(tried.link);
    if (!link_) {
      // Looking quietly: nothing to say until olad answers.
      if (state_ == State::Looking && tried.notOlad.empty()) {
        nextAttemptMs_ = now + retry_.next();
        return;
      }
      if (tried.notOlad.empty()) {
        nextAttemptMs_ = now + retry_.next();
        enter(State::Down, {OlaOutput::kUnreachable}, OlaOutput::kUnreachable);
      } else {
        nextAttemptMs_ = now + notOladRetry_.next();
        enter(State::NotOlad, {tried.notOlad}, OlaOutput::kNotOlad);
      }
      return;
    }
    retry_.reset();
    notOladRetry_.reset();
    for (auto& s : schedules_) s.resend();
    nextPatchCheckMs_ = now;
    patchKnown_ = false;
    enter(State::Up, {"DMX: OLA connected: channels 1..512 go to universe " + std::to_string(first_) +
                      ", 513..1024 to universe " + std::to_string(first_ + 1)},
          universesText());
  }

  void lose(std::int64_t now) {
    link_.reset();
    nextAttemptMs_ = now + retry_.next();
    enter(State::Down, {OlaOutput::kUnreachable}, OlaOutput::kUnreachable);
  }

  void sendDue(std::int64_t now) {
    const bool hurry = std::exchange(hurry_, false);
    for (std::size_t u = 0; u < 2; ++u) {
      if (!schedules_[u].due(now) && !(hurry && schedules_[u].pending())) continue;
      if (!link_->send(first_ + static_cast<unsigned>(u), values_[u].data())) return lose(now);
      schedules_[u].sent(now);
    }
  }

  // A universe without an output port in olad swallows the values without
  // a word. olad tells no one when a port is patched, so it is asked again
  // every kPatchCheckMs; each change is said once.
  void checkPatch(std::int64_t now) {
    nextPatchCheckMs_ = now + OlaOutput::kPatchCheckMs;
    const auto outputs = link_->universeOutputs(kUniverseListTimeoutMs);
    if (!outputs) return;
    const auto missing = unpatchedUniverses(first_, *outputs);
    if (patchKnown_ && missing == unpatched_) return;
    std::vector<std::string> lines;
    for (const unsigned universe : missing)
      if (!patchKnown_ || std::find(unpatched_.begin(), unpatched_.end(), universe) == unpatched_.end())
        lines.push_back(unpatchedUniverseWarning(first_, universe));
    if (patchKnown_)
      for (const unsigned universe : unpatched_)
        if (std::find(missing.begin(), missing.end(), universe) == missing.end())
          lines.push_back("DMX: OLA universe " + std::to_string(universe) + " has an output patched now");
    patchKnown_ = true;
    unpatched_ = missing;
    std::string status = universesText();
    for (const unsigned universe : missing) status += "; universe " + std::to_string(universe) + " has no output patched";
    report(lines, status, missing);
  }

  // Reports a state change once; staying in a state reports nothing.
  void enter(State state, std::vector<std::string> lines, std::string status) {
    if (state == state_) return;
    state_ = state;
    report(lines, std::move(status), {});
  }

  void report(const std::vector<std::string>& lines, std::string status, std::vector<unsigned> unpatched) {
    std::lock_guard lock(shared_->mutex);
    shared_->reports.insert(shared_->reports.end(), lines.begin(), lines.end());
    shared_->status = std::move(status);
    shared_->facts = {factsState(state_), first_, std::move(unpatched), "", ""};
  }

  static DmxFacts::State factsState(State state) {
    switch (state) {
      case State::Looking: return DmxFacts::State::Looking;
      case State::Starting: return DmxFacts::State::Connecting;
      case State::Up: return DmxFacts::State::Sending;
      case State::Down:
      case State::NotOlad: break;
    }
    return DmxFacts::State::Unreachable;
  }

  std::string universesText() const {
    return "DMX: OLA universes " + std::to_string(first_) + ", " + std::to_string(first_ + 1);
  }

  // The program is ending: the last values go out once more, on a fresh
  // client if olad has just come back, so the lights keep their look. A
  // connection made only now is reported as any other, also in a script
  // that ends before the first attempt.
  void sendLastValues() {
    {
      std::lock_guard lock(shared_->mutex);
      if (!shared_->given) return;
      values_ = shared_->latest;
    }
    if (!link_) attempt(nowMs());
    if (!link_) return;
    if (!patchKnown_) checkPatch(nowMs());
    for (std::size_t u = 0; u < 2; ++u)
      if (!link_->send(first_ + static_cast<unsigned>(u), values_[u].data())) return;
    link_->settle(kSettleMs);
    link_.reset();
  }

  std::shared_ptr<OlaOutput::Shared> shared_;
  const unsigned first_;
  OlaLinkFactory connect_;
  std::unique_ptr<OlaLink> link_;
  std::array<Universe, 2> values_{};
  std::array<SendSchedule, 2> schedules_{};
  RetryDelay retry_;
  // Another service on olad's port rarely turns into olad; and each attempt
  // leaves the request it never answered with libola. The wait doubles with
  // every attempt.
  RetryDelay notOladRetry_{kNotOladLongestMs, 1};
  std::int64_t nextAttemptMs_ = 0;
  std::int64_t nextPatchCheckMs_ = 0;
  bool patchKnown_ = false;         // asked olad since this connection began
  std::vector<unsigned> unpatched_;  // as last said
  bool haveValues_ = false;
  bool hurry_ = false;
  State state_;
};

}  // namespace

OlaOutput::OlaOutput(unsigned firstUniverse, OlaLinkFactory connect, bool lookQuietly)
    : shared_(std::make_shared<Shared>()) {
  shared_->status = status_ = lookQuietly ? kLooking : kConnecting;
  shared_->facts = facts_ = {lookQuietly ? DmxFacts::State::Looking : DmxFacts::State::Connecting, firstUniverse, {},
                             "", ""};
  sender_ = std::thread(
      [sender = Sender(shared_, firstUniverse, std::move(connect), lookQuietly)]() mutable { sender.run(); });
}

OlaOutput::~OlaOutput() {
  std::unique_lock lock(shared_->mutex);
  shared_->stopping = true;
  shared_->wake.notify_one();
  // A hung olad can hold a write forever; the program must still end.
  if (shared_->finished.wait_for(lock, kFinalSendWait, [&] { return shared_->done; })) {
    const std::vector<std::string> reports = std::move(shared_->reports);
    lock.unlock();
    sender_.join();
    for (const auto& line : reports) hostLog(line);
  } else {
    lock.unlock();
    sender_.detach();
  }
}

void OlaOutput::hurry() {
  std::lock_guard lock(shared_->mutex);
  shared_->hurry = true;
}

void OlaOutput::service(const ChannelBuffer& channels) {
  std::vector<std::string> reports;
  bool moved = false;
  {
    std::lock_guard lock(shared_->mutex);
    for (int u = 0; u < 2; ++u) {
      const auto revision = channels.universeRevision(u);
      if (seenAny_ && revision == seenRevision_[static_cast<std::size_t>(u)]) continue;
      std::memcpy(shared_->latest[static_cast<std::size_t>(u)].data(), channels.universe(u), ChannelBuffer::kUniverseSize);
      shared_->changed[static_cast<std::size_t>(u)] = true;
      seenRevision_[static_cast<std::size_t>(u)] = revision;
      moved = true;
    }
    seenAny_ = true;
    shared_->given = true;
    reports.swap(shared_->reports);
    status_ = shared_->status;
    facts_ = shared_->facts;
  }
  if (moved) shared_->wake.notify_one();
  for (const auto& line : reports) hostLog(line);
}

std::string OlaOutput::status() const { return status_; }

DmxFacts OlaOutput::facts() const { return facts_; }

}  // namespace vantorhost
