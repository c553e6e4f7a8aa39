#pragma once
// A test of the bridge's C functions on a simulated clock that the test
// moves by hand (nowMs); the source is closed and real time restored after.
#include <gtest/gtest.h>

#include <cstdint>

#include "bridge/vbvis.h"

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
  static inline std::int64_t nowMs = 0;
};
