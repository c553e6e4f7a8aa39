// A Link peer with none of Sonvero's code, as DJ software on another machine:
// it waits for another peer, may set the session's tempo and change it once
// (times from meeting the peer), and leaves or stays until stopped. Each
// event is a line "joined|tempo BPM|left at US" on Link's clock
// (CLOCK_MONOTONIC_RAW, one for every process). Exit 2: bad arguments;
// 3: no other peer within 10 s.
#include <ableton/Link.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using namespace std::chrono;

void say(const char* what, double bpm, microseconds at) {
  if (bpm > 0) std::printf("%s %.1f at %lld\n", what, bpm, static_cast<long long>(at.count()));
  else std::printf("%s at %lld\n", what, static_cast<long long>(at.count()));
  std::fflush(stdout);
}

void setTempo(ableton::Link& link, double bpm) {
  auto state = link.captureAppSessionState();
  const auto now = link.clock().micros();
  state.setTempo(bpm, now);
  link.commitAppSessionState(state);
  say("tempo", bpm, now);
}

bool number(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return text != nullptr && end != text && *end == '\0';
}

struct Plan {
  double tempo = 0, changeAfterMs = -1, newTempo = 0, leaveAfterMs = -1;
};

bool read(int argc, char** argv, Plan& plan) {
  for (int i = 1; i < argc; i += 2) {
    const std::string option = argv[i];
    double* value = option == "--tempo"          ? &plan.tempo
                    : option == "--change-after" ? &plan.changeAfterMs
                    : option == "--to"           ? &plan.newTempo
                    : option == "--leave-after"  ? &plan.leaveAfterMs
                                                 : nullptr;
    if (value == nullptr || i + 1 >= argc || !number(argv[i + 1], *value)) return false;
  }
  return (plan.changeAfterMs < 0) == (plan.newTempo <= 0);
}

}  // namespace

int main(int argc, char** argv) {
  Plan plan;
  if (!read(argc, argv, plan)) {
    std::fprintf(stderr, "usage: link_peer [--tempo BPM] [--change-after MS --to BPM] [--leave-after MS]\n");
    return 2;
  }
  ableton::Link link(plan.tempo > 0 ? plan.tempo : 120);
  link.enable(true);
  const auto giveUp = steady_clock::now() + seconds(10);
  while (link.numPeers() == 0) {
    if (steady_clock::now() > giveUp) return 3;
    std::this_thread::sleep_for(milliseconds(5));
  }
  const auto start = steady_clock::now();
  say("joined", 0, link.clock().micros());
  // Joining took the session's tempo: a tempo of its own is set now.
  if (plan.tempo > 0) setTempo(link, plan.tempo);
  if (plan.changeAfterMs >= 0) {
    std::this_thread::sleep_until(start + duration<double, std::milli>(plan.changeAfterMs));
    setTempo(link, plan.newTempo);
  }
  if (plan.leaveAfterMs < 0) {
    for (;;) std::this_thread::sleep_for(hours(1));  // until the test stops it
  }
  std::this_thread::sleep_until(start + duration<double, std::milli>(plan.leaveAfterMs));
  link.enable(false);
  say("left", 0, link.clock().micros());
  return 0;
}
