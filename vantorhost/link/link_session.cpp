#include "vantorhost/link/link_session.h"

#include <ableton/Link.hpp>
#include <chrono>
#include <cmath>

#include "vantorhost/link/clock_offset.h"

namespace vantorhost {

namespace {

using Micros = std::chrono::microseconds;

// Link's tempo before it meets a session, as every Link app starts.
constexpr double kStartBpm = 120;

std::int64_t steadyNowUs() {
  return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::int64_t linkNowUs() { return ableton::link::platform::Clock().micros().count(); }

int inBar(double wholeBeat) {
  const auto beat = static_cast<long long>(wholeBeat) % kLinkQuantum;
  return static_cast<int>(beat < 0 ? beat + kLinkQuantum : beat);
}

}  // namespace

struct LinkSession::Peer {
  ableton::Link link{kStartBpm};
  Peer() { link.enable(true); }
};

LinkSession::LinkSession() : LinkSession(steadyNowUs) {}
LinkSession::LinkSession(ClockUs hostClockUs) : hostClockUs_(std::move(hostClockUs)) {}
LinkSession::~LinkSession() = default;

void LinkSession::enable(bool on) {
  if (on == enabled()) return;
  if (on) peer_ = std::make_unique<Peer>();
  else peer_.reset();
}

std::int64_t LinkSession::linkMinusHostUs() const { return clockOffsetUs(hostClockUs_, linkNowUs); }
std::int64_t LinkSession::toLinkUs(std::int64_t hostUs) const { return hostUs + linkMinusHostUs(); }
std::int64_t LinkSession::fromLinkUs(std::int64_t linkUs) const { return linkUs - linkMinusHostUs(); }

std::size_t LinkSession::peers() const { return peer_ ? peer_->link.numPeers() : 0; }

double LinkSession::tempo() const { return peer_ ? peer_->link.captureAppSessionState().tempo() : 0; }

LinkView LinkSession::view(std::int64_t atUs) const {
  if (!peer_) return {};
  const auto state = peer_->link.captureAppSessionState();
  return {true, peer_->link.numPeers(), state.tempo(), state.beatAtTime(Micros(toLinkUs(atUs)), kLinkQuantum)};
}

std::size_t LinkSession::beatsFrom(std::int64_t fromUs, std::span<LinkBeat> out) const {
  if (!peer_) return 0;
  const auto state = peer_->link.captureAppSessionState();
  const std::int64_t offsetUs = linkMinusHostUs();
  // Link maps whole beats to whole microseconds: a beat a rounding away is this one.
  const double first = std::ceil(state.beatAtTime(Micros(fromUs + offsetUs), kLinkQuantum) - 1e-6);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double beat = first + static_cast<double>(i);
    out[i] = {state.timeAtBeat(beat, kLinkQuantum).count() - offsetUs, inBar(beat)};
  }
  return out.size();
}

LeadStep LinkSession::lead(double bpm, std::int64_t beatUs, bool byHand) {
  if (!peer_) return {};
  auto state = peer_->link.captureAppSessionState();
  const Micros at(toLinkUs(beatUs));
  const double beat = state.beatAtTime(at, kLinkQuantum);
  const double whole = std::round(beat);
  const auto offBeatUs = static_cast<std::int64_t>((beat - whole) * 60e6 / state.tempo());
  const LeadStep step = leadStep(state.tempo(), bpm, offBeatUs, byHand);
  if (step.setTempo) state.setTempo(bpm, at);
  if (step.forcePhase) state.forceBeatAtTime(whole, at, kLinkQuantum);
  if (step.setTempo || step.forcePhase) peer_->link.commitAppSessionState(state);
  return step;
}

}  // namespace vantorhost
