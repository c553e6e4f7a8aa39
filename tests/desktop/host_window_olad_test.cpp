// The status line against a real olad (started and stopped here), as a
// lighting person meets it at the gig: an olad started after Sonvero is
// used, ola_patch clears the warning about an unpatched universe, and a rig
// on one interface is green. Each ends with the right status within 5 s.
#include <QTest>
#include <chrono>
#include <functional>

#include "bridge/vbvis.h"
#include "tests/desktop/host_window_fixture.h"
#include "tests/support/olad_process.h"
#include "toolkit/check_box.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kWithin = 5s;

class StatusWithOlad : public PluginSessionTest {
 protected:
  void SetUp() override {
    PluginSessionTest::SetUp();
    // Sound, the output on, nothing muted, and a design on channel 1.
    ASSERT_EQ(vbvis_open("script"), 0);
    vbvis_script_vu(8000, 8000);
    tk::Form& main = *session->mainWindow();
    tk::app().runEvent([&] {
      static_cast<tk::CheckBox*>(main.findControl("Check5"))->setValue(1);
      static_cast<tk::CheckBox*>(main.findControl("Check8"))->setValue(0);
    });
    session->design()->writeList(2, 0, {1});
  }
  void TearDown() override {
    host.reset();
    path.reset();
    dmx.reset();
    PluginSessionTest::TearDown();
    vbvis_close();
  }
  void start(const std::string& output) {
    HostOptions options;
    options.dmx = output;
    options.olaPort = olad.port();
    dmx = makeDmxOutput(options);
    path = std::make_unique<OutputPath>(session->channels(), *dmx, [this] { return loop_->nowMs(); });
    host = std::make_unique<HostWindow>(*session, *path);
    host->show();
  }
  std::string status() const { return host->statusLine().text().toStdString(); }
  // Whether the status line says `expected` within kWithin, the window's
  // upkeep running as it does.
  testing::AssertionResult saysWithin(const std::string& expected) {
    const auto since = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - since < kWithin) {
      host->upkeep();
      if (status() == expected) {
        std::printf("\"%s\" after %lld ms\n", expected.c_str(),
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               std::chrono::steady_clock::now() - since)
                                               .count()));
        return testing::AssertionSuccess();
      }
      QTest::qWait(50);
    }
    return testing::AssertionFailure() << "the status line says \"" << status() << "\"";
  }

  OladProcess olad;
  std::unique_ptr<DmxOutput> dmx;
  std::unique_ptr<OutputPath> path;
  std::unique_ptr<HostWindow> host;
};

}  // namespace

TEST_F(StatusWithOlad, AnOladStartedLaterIsUsed) {
  start("auto");
  EXPECT_TRUE(saysWithin("The DMX monitor is the only output until olad answers: start olad, and Sonvero sends to it "
                         "by itself"));
  ASSERT_TRUE(olad.start());
  EXPECT_TRUE(saysWithin("Sending to OLA universe 1"));
  EXPECT_EQ(olad.fetch(1).value_or(UniverseValues{})[0], path->sent().get(1)) << "and the values are there";
}

TEST_F(StatusWithOlad, OneInterfaceIsGreenAndPatchingTheSecondClearsItsWarning) {
  ASSERT_TRUE(olad.start());
  ASSERT_TRUE(olad.patch(OladProcess::kOsc, 2, false));
  start("auto");
  EXPECT_TRUE(saysWithin("Sending to OLA universe 1")) << "universe 2 carries nothing of the design";
  session->design()->writeList(3, 0, {600});
  EXPECT_TRUE(saysWithin("OLA universe 2 has no output patched: patch one in olad (http://localhost:9090)"));
  ASSERT_TRUE(olad.patch(OladProcess::kOsc, 2));
  EXPECT_TRUE(saysWithin("Sending to OLA universes 1 and 2"));
}

TEST_F(StatusWithOlad, MonitorOnlyNamesItsRemedy) {
  start("none");
  EXPECT_TRUE(saysWithin("The DMX monitor is the only output (--dmx none): start Sonvero without --dmx none to send to "
                         "OLA"));
}
