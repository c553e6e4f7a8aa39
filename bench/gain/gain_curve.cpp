#include "bench/gain/gain_curve.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "bridge/vbvis.h"

namespace gainbench {

namespace {

constexpr std::int64_t kTickMs = 75;
std::int64_t simulatedMs = 0;

}  // namespace

std::vector<GainPoint> gainCurve(const std::string& uri, std::int64_t ms) {
  simulatedMs = 0;
  vbvis_set_clock([](void*) { return simulatedMs; }, nullptr);
  vbvis_set_gain(0, 0.0);
  vbvis_set_gain(1, 0.0);
  if (vbvis_open(uri.c_str()) != 0) throw std::runtime_error("cannot open " + uri + ": " + vbvis_open_error());
  std::vector<GainPoint> curve;
  for (simulatedMs = kTickMs; simulatedMs <= ms; simulatedMs += kTickMs) {
    vbvis_vu(0);
    vbvis_gain_state state;
    vbvis_gain(&state);
    curve.push_back({simulatedMs, state.gain_db, state.input_db, state.gated != 0});
  }
  vbvis_close();
  vbvis_set_clock(nullptr, nullptr);
  vbvis_set_gain(0, 0.0);
  return curve;
}

StepResponse stepResponse(const std::vector<GainPoint>& curve, const std::vector<GainPoint>& target, double offsetDb,
                          std::int64_t stepMs, std::int64_t endMs) {
  StepResponse r{0, 0, -1, 0, 0};
  std::int64_t lastOutside = stepMs;
  double direction = 0;  // +1 when the gain has to rise, -1 when it has to fall
  for (std::size_t i = 0; i < curve.size() && i < target.size(); ++i) {
    const GainPoint& p = curve[i];
    if (p.ms <= stepMs) {
      r.beforeDb = p.gainDb;
      continue;
    }
    if (p.ms > endMs) break;
    const double want = target[i].gainDb + offsetDb;
    if (direction == 0) direction = want >= r.beforeDb ? 1.0 : -1.0;
    r.afterDb = p.gainDb;
    if (std::fabs(p.gainDb - want) > 1.0) lastOutside = p.ms;
    else if (r.reachSeconds < 0) r.reachSeconds = static_cast<double>(p.ms - stepMs) / 1000.0;
    r.overshootDb = std::max(r.overshootDb, (p.gainDb - want) * direction);
  }
  // Within 1 dB from the tick after the last one outside.
  r.settleSeconds = lastOutside > stepMs ? static_cast<double>(lastOutside + kTickMs - stepMs) / 1000.0 : 0.0;
  return r;
}

double swingDb(const std::vector<GainPoint>& curve, std::int64_t fromMs) {
  double low = 1e9, high = -1e9;
  for (const GainPoint& p : curve)
    if (p.ms > fromMs) low = std::min(low, p.gainDb), high = std::max(high, p.gainDb);
  return high >= low ? high - low : 0.0;
}

std::vector<GainPoint> shifted(const std::vector<GainPoint>& curve, std::int64_t fromMs) {
  std::vector<GainPoint> part;
  for (GainPoint p : curve)
    if (p.ms > fromMs) part.push_back((p.ms -= fromMs, p));
  return part;
}

}  // namespace gainbench
