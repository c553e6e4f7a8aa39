#include "vantorhost/run/stop_signals.h"

#include <csignal>

namespace vantorhost {

namespace {

volatile std::sig_atomic_t stopSignalled = 0;

void onStopSignal(int) { stopSignalled = 1; }

}  // namespace

void catchStopSignals() {
  std::signal(SIGINT, onStopSignal);
  std::signal(SIGTERM, onStopSignal);
  // The terminal of a run closing is a stop like any other.
  std::signal(SIGHUP, onStopSignal);
  std::signal(SIGPIPE, SIG_IGN);
}

bool stopRequested() { return stopSignalled != 0; }

}  // namespace vantorhost
