#pragma once
// The main window loaded on a simulated clock with the bridge's script
// source, and a host helper that keeps what the engine sent.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "audio/vbvis/vbvis.h"
#include "hostlink/vantor.h"
#include "model/arrays.h"
#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "ui/Main.h"

class SentValues : public VantorTypeLib::IPluginHelper, VantorTypeLib::IMyStream, VantorTypeLib::IMessages {
 public:
  std::vector<std::pair<int, int>> channels;  // (channel, value) in the order sent
  int beats = 0;

  VantorTypeLib::IMyStream& MyStream() override { return *this; }
  VantorTypeLib::IMessages& Messages() override { return *this; }
  void UserInteraction() override {}
  void SetChannel(VantorTypeLib::Variant& channel, VantorTypeLib::Variant& value,
                  const VantorTypeLib::Variant&) override {
    channels.emplace_back(channel.value, value.value);
  }
  void Send(const VantorTypeLib::Variant&, const VantorTypeLib::Variant&, const VantorTypeLib::Variant&) override {
    ++beats;
  }
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::app().setLoop(&loop);
    vbvis_open("script");
    vbvis_script_spectrum(0, "", 0);
    vbvis_script_vu(0, 0);
    Arrays::resetAll();
    Vantor::outputWasActive = 0;
    sent = std::make_shared<SentValues>();
    Vantor::pluginHelper = sent;
    // The window's variables outlive a close; each test starts from new.
    static_cast<MainVariables&>(main) = MainVariables{};
    tk::app().runEvent([this] { main.show(); });
  }
  void TearDown() override {
    tk::app().discardAll();
    Vantor::pluginHelper.reset();
    vbvis_close();
    tk::app().setLoop(nullptr);
  }

  void tick() { tk::app().runEvent([this] { main.Timer1_Timer(); }); }
  void spectrum(const std::string& hex) {
    vbvis_script_spectrum(static_cast<std::int16_t>(hex.size() / 2), hex.data(), static_cast<std::int32_t>(hex.size()));
  }
  static void bar(int slot, int from, int to, int boost, int threshold, int setOnExceed = 0, int setValue = 1) {
    Arrays::bars[slot] = {static_cast<std::int16_t>(slot + 1), static_cast<std::int16_t>(from),
                          static_cast<std::int16_t>(to), 0, static_cast<std::int16_t>(boost),
                          static_cast<std::int16_t>(threshold), static_cast<std::uint8_t>(setOnExceed),
                          static_cast<std::int16_t>(setValue)};
  }
  static void list(Arrays::ChannelList& l, std::initializer_list<int> channels) {
    l.fill(0);
    int j = 1;
    for (int c : channels) l[j++] = static_cast<std::int16_t>(c);
  }
  std::size_t boxesOf(tk::OleColor color) const {
    return static_cast<std::size_t>(
        std::count_if(main.drawing().begin(), main.drawing().end(), [&](const tk::DrawBox& b) { return b.color == color; }));
  }

  tk::SimulatedLoop loop;
  Main& main = mainForm();
  std::shared_ptr<SentValues> sent;
};
