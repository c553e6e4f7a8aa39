// A Link peer of the tests' own, built from the same headers as Sonvero's
// but without any of Sonvero's code, as DJ software on another machine would
// be: it waits for another peer, sets the session's tempo, changes it once
// and leaves.
//
//   link_peer TEMPO [CHANGE_AFTER_MS NEW_TEMPO [LEAVE_AFTER_MS]]
//
// Times count from the first tempo it sets. It writes one line per event on
// standard output, with Link's clock in microseconds (the steady clock's
// CLOCK_MONOTONIC_RAW, the same for every process on the machine):
//   tempo BPM at US     it set the session's tempo at that time
//   left at US          it left the session
// Exit status 0, 2 for bad arguments, 3 when no other peer came within 10 s.
#include <ableton/Link.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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
  return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  double tempo = 0, changeAfterMs = -1, newTempo = 0, leaveAfterMs = -1;
  if (argc < 2 || argc == 3 || argc > 5 || !number(argv[1], tempo) ||
      (argc >= 4 && (!number(argv[2], changeAfterMs) || !number(argv[3], newTempo))) ||
      (argc == 5 && !number(argv[4], leaveAfterMs))) {
    std::fprintf(stderr, "usage: link_peer TEMPO [CHANGE_AFTER_MS NEW_TEMPO [LEAVE_AFTER_MS]]\n");
    return 2;
  }
  ableton::Link link(tempo);
  link.enable(true);
  const auto giveUp = steady_clock::now() + seconds(10);
  while (link.numPeers() == 0) {
    if (steady_clock::now() > giveUp) return 3;
    std::this_thread::sleep_for(milliseconds(10));
  }
  // Joining took the session's tempo: this peer sets its own now.
  const auto start = steady_clock::now();
  setTempo(link, tempo);
  if (changeAfterMs >= 0) {
    std::this_thread::sleep_until(start + duration<double, std::milli>(changeAfterMs));
    setTempo(link, newTempo);
  }
  if (leaveAfterMs < 0) {
    for (;;) std::this_thread::sleep_for(hours(1));  // until the test stops it
  }
  std::this_thread::sleep_until(start + duration<double, std::milli>(leaveAfterMs));
  link.enable(false);
  say("left", 0, link.clock().micros());
  return 0;
}
