#pragma once
// A Link session of the test's own, beats every 60/bpm s from originUs; it
// records what a leader asks of it.
#include <cmath>
#include <cstdint>
#include <vector>

#include "vantorhost/link/link_grid.h"

namespace support {

struct SteadyGrid final : vantorhost::LinkGrid {
  bool on = true;
  std::size_t others = 1;
  double bpm = 125;
  std::int64_t originUs = 0;
  struct Led {
    double tempo;
    std::int64_t beatUs;
    bool byHand;
    bool operator==(const Led&) const = default;
  };
  std::vector<Led> led;  // each lead()

  bool enabled() const override { return on; }
  std::size_t peers() const override { return on ? others : 0; }
  double tempo() const override { return on ? bpm : 0; }
  std::size_t beatsFrom(std::int64_t fromUs, std::span<vantorhost::LinkBeat> out) const override {
    if (!on) return 0;
    const double period = 60e6 / bpm;
    auto k = static_cast<std::int64_t>(std::ceil(static_cast<double>(fromUs - originUs) / period));
    for (vantorhost::LinkBeat& beat : out) {
      beat = {originUs + std::llround(static_cast<double>(k) * period),
              static_cast<int>(((k % vantorhost::kLinkQuantum) + vantorhost::kLinkQuantum) % vantorhost::kLinkQuantum)};
      ++k;
    }
    return out.size();
  }
  vantorhost::LeadStep lead(double tempo, std::int64_t beatUs, bool byHand) override {
    led.push_back({tempo, beatUs, byHand});
    return {};
  }
};

}  // namespace support
