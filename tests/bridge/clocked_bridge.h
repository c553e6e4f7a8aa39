#pragma once
// The bridge's C functions on a simulated clock the test moves (nowMs).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "audio/modVbVis10.h"
#include "bridge/vbvis.h"
#include "tests/bridge/sox_signals.h"

class ClockedBridge : public ::testing::Test {
 protected:
  void SetUp() override {
    nowMs = 0;
    vbvis_set_clock([](void*) { return nowMs; }, nullptr);
  }
  void TearDown() override {
    vbvis_close();
    vbvis_set_clock(nullptr, nullptr);
  }
  bool openFile(const std::string& path) { return vbvis_open(("file:" + path).c_str()) == 0; }
  // One tick's spectrum as the plug-in reads it.
  static std::vector<std::uint8_t> spectrum() {
    std::int32_t side = 0;
    const auto bins = modVbVis10::GetSpectrum(side);
    return {bins.begin(), bins.end()};
  }
  static inline std::int64_t nowMs = 0;
  SoxSignals sox;
};
