#pragma once
// Driving a DMX output from a test as the host's event loop does.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "vantorhost/dmx/dmx_output.h"

// Services the output every `step` until done() or `limit`; gives done().
template <class Done>
bool serviceUntil(vantorhost::DmxOutput& out, const vantorhost::ChannelBuffer& channels, Done done, std::chrono::milliseconds limit,
                  std::chrono::milliseconds step = std::chrono::milliseconds(5)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    out.service(channels);
    if (done()) return true;
    std::this_thread::sleep_for(step);
  }
  out.service(channels);
  return done();
}

// The longest that one of `ticks` service calls took, `change(tick)` before each.
template <class Change>
std::chrono::steady_clock::duration slowestService(vantorhost::DmxOutput* out, vantorhost::ChannelBuffer& channels, int ticks,
                                                   std::chrono::milliseconds step, Change change) {
  auto slowest = std::chrono::steady_clock::duration::zero();
  for (int tick = 0; tick < ticks; ++tick, std::this_thread::sleep_for(step)) {
    change(tick);
    const auto t0 = std::chrono::steady_clock::now();
    out->service(channels);
    slowest = std::max(slowest, std::chrono::steady_clock::now() - t0);
  }
  return slowest;
}

inline std::size_t countOf(const std::string& text, const std::string& needle) {
  std::size_t n = 0;
  for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

inline std::array<std::uint8_t, 512> universeOf(const vantorhost::ChannelBuffer& channels, int index) {
  std::array<std::uint8_t, 512> v;
  std::copy(channels.universe(index), channels.universe(index) + 512, v.begin());
  return v;
}
