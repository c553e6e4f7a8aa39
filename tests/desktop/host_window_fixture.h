#pragma once
// The host window with the real plug-in loaded and a DMX output that
// counts what it is handed, for the host window's tests.
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "tests/support/qt_fixture.h"
#include "toolkit/check_box.h"
#include "vantorhost/desktop/host_window.h"
#include "vantorhost/output/output_path.h"

namespace {

using namespace vantorhost;

class CountingOutput : public DmxOutput {
 public:
  void service(const ChannelBuffer& channels) override {
    ++calls;
    lastChannel1 = channels.get(1);
  }
  void hurry() override { ++hurries; }
  std::string status() const override { return "DMX: test output"; }
  DmxFacts facts() const override { return dmx; }
  DmxFacts dmx{DmxFacts::State::Sending, 1, {}, "", ""};
  int calls = 0, hurries = 0;
  int lastChannel1 = -1;
};

// Runs the window's upkeep every 50 ms, as its timer does, until `done` or `limit`.
inline bool upkeepUntil(HostWindow& host, const std::function<bool()>& done,
                        std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  for (const auto until = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < until;
       QTest::qWait(50)) {
    host.upkeep();
    if (done()) return true;
  }
  return done();
}

inline QLineEdit* edit(QSpinBox& box) { return box.findChild<QLineEdit*>(); }

// Types into a spin box as a user does: all of it replaced, then Enter.
inline void type(QSpinBox& box, const QString& text) {
  box.setFocus();
  edit(box)->selectAll();
  QTest::keyClicks(edit(box), text);
  QTest::keyClick(edit(box), Qt::Key_Enter);
}

// Picks an entry of a combo box as the user does.
inline void choose(QComboBox& box, int index) {
  box.setCurrentIndex(index);
  emit box.activated(index);
}

// Whether the status line says `expected` within 5 s.
inline testing::AssertionResult saysWithin(HostWindow& host, const std::string& expected) {
  const auto said = [&] { return host.statusLine().text().toStdString(); };
  if (upkeepUntil(host, [&] { return said() == expected; })) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the status line says \"" << said() << "\"";
}

// The real plug-in loaded through the Qt backend. A test's windows and
// output go in its TearDown before this one's.
class PluginSessionTest : public support::QtFixture {
 protected:
  void SetUp() override {
    support::QtFixture::SetUp();
    session = std::make_unique<HostSession>(SONVERO_PLUGIN_PATH, *loop_);
    session->start();
  }
  void TearDown() override {
    support::QtFixture::TearDown();
    session.reset();
  }
  // Sets a check box of Main's as the user does.
  void tick(const char* box, std::int16_t value) {
    tk::app().runEvent([&] { static_cast<tk::CheckBox*>(session->mainWindow()->findControl(box))->setValue(value); });
  }
  // The output on, nothing muted, and a list on channel 1: light would move.
  void readyToLight() {
    tick("Check5", 1);
    tick("Check8", 0);
    session->design()->writeList(2, 0, {1});
  }
  std::filesystem::path dir() const { return settingsDir.path().toStdString(); }
  std::filesystem::path keptFile() const { return dir() / kHostSettingsName; }
  std::unique_ptr<HostSession> session;
};

// The host window keeps the user's choices in the settings folder, as a run's does.
class HostWindowTest : public PluginSessionTest {
 protected:
  void SetUp() override {
    PluginSessionTest::SetUp();
    path = std::make_unique<OutputPath>(session->channels(), output, [this] { return loop_->nowMs(); });
    host = std::make_unique<HostWindow>(*session, *path, &kept);
    host->onClosed = [this] { ++closed; };
  }
  void TearDown() override {
    host.reset();
    path.reset();
    PluginSessionTest::TearDown();
  }
  // An event of the plug-in's, after which the host hands the channels on.
  static void event() {
    tk::app().runEvent([] {});
  }
  void beat() {
    using VantorTypeLib::Variant;
    session->helper().Messages().Send(Variant::i32(9), Variant::i16(1), Variant::i16(0));
  }
  CountingOutput output;
  HostSettingsFile kept{keptFile()};
  std::unique_ptr<OutputPath> path;
  std::unique_ptr<HostWindow> host;
  int closed = 0;
};

}  // namespace
