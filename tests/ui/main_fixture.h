#pragma once
// Main loaded on a simulated clock, with the bridge's script source, empty
// tables and a fake host; every window is dropped again afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bridge/vbvis.h"
#include "hostlink/vantor.h"
#include "model/arrays.h"
#include "tests/support/fake_host.h"
#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "ui/Main.h"

class MainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::app().setLoop(&loop);
    vbvis_open("script");
    vbvis_script_spectrum(0, "", 0);
    vbvis_script_vu(0, 0);
    Arrays::resetAll();
    Vantor::outputWasActive = 0;
    Vantor::pluginHelper = host;
    // The window's variables outlive a close; each test starts from new.
    static_cast<MainVariables&>(main) = MainVariables{};
    event([this] { main.show(); });
  }
  void TearDown() override {
    tk::app().discardAll();
    Vantor::pluginHelper.reset();
    vbvis_close();
    tk::app().setLoop(nullptr);
  }

  // A user action or a timer event: handlers run as one event.
  template <class F>
  static void event(F&& f) {
    tk::app().runEvent(std::forward<F>(f));
  }
  void tick() { event([this] { main.Timer1_Timer(); }); }
  static void spectrum(const std::string& hex) {
    vbvis_script_spectrum(static_cast<std::int16_t>(hex.size() / 2), hex.data(), static_cast<std::int32_t>(hex.size()));
  }
  static void bar(int slot, int from = 1, int to = 288, int boost = 100, int threshold = 1) {
    Arrays::bars[slot] = {static_cast<std::int16_t>(slot + 1), static_cast<std::int16_t>(from),
                          static_cast<std::int16_t>(to), 0, static_cast<std::int16_t>(boost),
                          static_cast<std::int16_t>(threshold), 0, 1};
  }
  static std::vector<int> channels(const Arrays::ChannelList& list) {
    std::vector<int> out;
    Arrays::forEachChannel(list, [&](int c) { out.push_back(c); });
    return out;
  }
  template <class F>
  static std::vector<F*> open() {
    std::vector<F*> out;
    for (tk::Form* f : tk::app().forms())
      if (auto* form = dynamic_cast<F*>(f)) out.push_back(form);
    return out;
  }

  tk::SimulatedLoop loop;
  Main& main = mainForm();
  std::shared_ptr<support::FakeHost> host = std::make_shared<support::FakeHost>();
};
