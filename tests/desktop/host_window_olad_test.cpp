// The status line and the run's log against a real olad, as met at a gig,
// and the operator's taps as they reach olad.
#include "bridge/vbvis.h"
#include "tests/desktop/host_window_fixture.h"
#include "tests/ola/output_helpers.h"
#include "tests/support/dmx_watcher.h"
#include "tests/support/olad_process.h"
#include "vantorhost/run/host_output.h"

namespace {

class StatusWithOlad : public PluginSessionTest {
 protected:
  void SetUp() override {
    PluginSessionTest::SetUp();
    ASSERT_EQ(vbvis_open("script"), 0);
    vbvis_script_vu(8000, 8000);
    readyToLight();
    testing::internal::CaptureStderr();
  }
  void TearDown() override {
    log();
    PluginSessionTest::TearDown();
    vbvis_close();
  }
  // The host window on the run's way out to `output` (its beats following the tracker).
  void start(const std::string& output) {
    HostOptions options;
    options.dmx = output;
    options.olaPort = olad.port();
    out = std::make_unique<HostOutput>(*session, makeDmxOutput(options), HostOutput::Clock::Real, link);
    host = std::make_unique<HostWindow>(*session, out->path());
    host->show();
  }
  // What the output logged from the test's start until it closed.
  std::string log() {
    host.reset();
    out.reset();
    if (!logged_) logged_ = testing::internal::GetCapturedStderr();
    return *logged_;
  }

  OladProcess olad;
  LinkSession link;  // off
  std::unique_ptr<HostOutput> out;
  std::unique_ptr<HostWindow> host;  // holds out's path: goes first (log(), and member order)
  std::optional<std::string> logged_;
};

}  // namespace

// --dmx auto finds an olad started later, without a word of trouble.
TEST_F(StatusWithOlad, AnOladStartedLaterIsUsed) {
  start("auto");
  EXPECT_TRUE(saysWithin(*host,
                         "The DMX monitor is the only output until olad answers: start olad, and Sonvero sends to it "
                         "by itself"));
  ASSERT_TRUE(olad.start());
  EXPECT_TRUE(saysWithin(*host, "Sending to OLA universe 1"));
  EXPECT_EQ(olad.fetch(1).value_or(UniverseValues{})[0], out->path().sent().get(1)) << "and the values are there";
  const std::string said = log();
  EXPECT_NE(said.find("no olad answers on port " + std::to_string(olad.port()) + " yet"), std::string::npos) << said;
  EXPECT_EQ(countOf(said, "not reachable"), 0u) << "looking is quiet: " << said;
  EXPECT_EQ(countOf(said, "DMX: OLA connected"), 1u) << said;
}

// olad tells no one when a port is patched: the output asks again.
TEST_F(StatusWithOlad, OneInterfaceIsGreenAndPatchingTheSecondClearsItsWarning) {
  ASSERT_TRUE(olad.start());
  ASSERT_TRUE(olad.patch(OladProcess::kOsc, 2, false));
  start("auto");
  EXPECT_TRUE(saysWithin(*host, "Sending to OLA universe 1")) << "universe 2 carries nothing of the design";
  session->design()->writeList(3, 0, {600});
  EXPECT_TRUE(saysWithin(*host, "OLA universe 2 has no output patched: patch one in olad (http://localhost:9090)"));
  ASSERT_TRUE(olad.patch(OladProcess::kOsc, 2));
  EXPECT_TRUE(saysWithin(*host, "Sending to OLA universes 1 and 2"));
  const std::string said = log();
  EXPECT_EQ(countOf(said, "universe 2 has no output patched in olad"), 1u) << said;
  EXPECT_EQ(countOf(said, "DMX: OLA universe 2 has an output patched now"), 1u) << said;
}

TEST_F(StatusWithOlad, MonitorOnlyNamesItsRemedy) {
  start("none");
  EXPECT_TRUE(saysWithin(*host,
                         "The DMX monitor is the only output (--dmx none): start Sonvero without --dmx none to send to "
                         "OLA"));
}

// Four taps at 128 BPM without music light olad on the taps' grid from the
// next beat on; 30 ms slack for a loaded machine (10 ms when quiet), still far
// from an off-beat (234 ms).
TEST_F(StatusWithOlad, FourTapsAt128BpmLightOnTheirGridAtOlad) {
  ASSERT_TRUE(olad.start());
  start("ola");
  HostDesign design = session->hostDesign();
  design.beatPattern = {BeatPattern::Mode::Flash, 50, {10}};
  session->setHostDesign(design);
  ASSERT_TRUE(saysWithin(*host, "Sending to OLA universe 1"));
  DmxWatcher watcher(olad.port(), 1, 10);
  ASSERT_TRUE(watcher.start());

  constexpr std::int64_t kBeatUs = 468'750, kSlackUs = 30'000;
  std::vector<std::int64_t> taps;
  const std::int64_t firstUs = vbvis_clock_us() + 200'000;
  for (int i = 0; i < 4; ++i) {
    while (vbvis_clock_us() < firstUs + i * kBeatUs - 2'000) QTest::qWait(1);
    while (vbvis_clock_us() < firstUs + i * kBeatUs) {
    }
    taps.push_back(vbvis_clock_us());
    host->beatPanel().tap().click();
  }
  QTest::qWait(2500);
  host.reset();  // the window holds the output's path, which closing lets go
  out->close();

  // The light's rises (the watcher stamps on the steady clock, as the bridge's clock is).
  std::vector<std::int64_t> rises;
  for (std::int64_t ns : watcher.risesNs()) rises.push_back(ns / 1000);
  ASSERT_GE(rises.size(), 4u);
  const std::int64_t fourth = taps.back();
  EXPECT_LE(rises.front() - fourth, kBeatUs + kSlackUs) << "the first light after the taps";
  for (std::int64_t rise : rises) {
    const std::int64_t off = ((rise - taps.front()) % kBeatUs + kBeatUs) % kBeatUs;
    EXPECT_LE(std::min(off, kBeatUs - off), kSlackUs) << "a light " << (rise - fourth) / 1000 << " ms after the fourth tap";
  }
}
