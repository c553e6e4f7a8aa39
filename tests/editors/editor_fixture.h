#pragma once
#include <gtest/gtest.h>

#include <vector>

#include "model/arrays.h"
#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "ui/Main.h"

// Main loaded on a simulated clock with empty tables; every window is
// dropped again afterwards.
class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Arrays::resetAll();
    tk::app().setLoop(&loop);
    main().show();
  }
  void TearDown() override {
    tk::app().discardAll();
    tk::app().setLoop(nullptr);
  }

  static Main& main() { return mainForm(); }

  // A user action: handlers run as one event, as the window system runs them.
  template <class F>
  static void event(F&& f) {
    tk::app().runEvent(std::forward<F>(f));
  }

  template <class F>
  static std::vector<F*> open() {
    std::vector<F*> out;
    for (tk::Form* f : tk::app().forms())
      if (auto* form = dynamic_cast<F*>(f)) out.push_back(form);
    return out;
  }

  static void holdBar(int slot, std::int16_t from = 1, std::int16_t to = 288) {
    Arrays::bars[slot] = {static_cast<std::int16_t>(slot + 1), from, to, 0, 100, 1, 0, 1};
  }

  static std::vector<int> channels(const Arrays::ChannelList& list) {
    std::vector<int> out;
    Arrays::forEachChannel(list, [&](int c) { out.push_back(c); });
    return out;
  }

  tk::SimulatedLoop loop;
};
