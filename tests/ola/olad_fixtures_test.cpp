// A moving head at a real olad: its colour wheel alone in a bar, it lights
// (dimmer full and shutter open at rest), and the master and the blackout
// dim it without ever moving its pan and tilt; a channel of no fixture
// follows the master as before.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/host/fixture_definitions.h"
#include "tests/ola/output_helpers.h"
#include "tests/support/olad_process.h"
#include "tests/support/temp_folder.h"
#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "vantorhost/link/link_session.h"
#include "vantorhost/run/host_output.h"

using namespace vantorhost;

namespace {

using namespace std::chrono_literals;

TEST(OladFixtures, AMovingHeadLightsFromItsColourAloneAndNeverMovesWithMasterOrBlackout) {
  OladProcess olad;
  ASSERT_TRUE(olad.start());
  support::TempFolder dir;
  std::filesystem::create_directories(dir.path() / "data" / "sonvero" / "fixtures");
  support::writeBytes(dir.path() / "data" / "sonvero" / "fixtures" / "head.qxf",
                      fixtures_test::qxf("Test", "Head", fixtures_test::headBody(), "Moving Head"));
  setenv("XDG_DATA_HOME", (dir.path() / "data").c_str(), 1);
  setenv("SONVERO_SETTINGS_DIR", dir.path().c_str(), 1);
  tk::SimulatedLoop loop;
  tk::app().setLoop(&loop);
  {
    HostSession session(SONVERO_PLUGIN_PATH, loop);
    session.start();
    HostOptions options;
    options.dmx = "ola";
    options.olaPort = olad.port();
    LinkSession link;  // off: the beats follow the tracker
    HostOutput host(session, makeDmxOutput(options), HostOutput::Clock::Simulated, link);
    // Pan 10, tilt 11, dimmer 12, shutter 13 (open at 8..15), colour wheel 14.
    ASSERT_FALSE(session.placeFixture({"head", "Test", "Head", "5ch", 10}));
    IPluginDesign& design = *session.design();
    tk::app().runEvent([&] {
      design.writeList(1, 0, {14});
      design.writeBar(0, 30, 109, 100, 1, 0, 1);
      design.outputChannel(14, 40, 1);  // the bar's value on the wheel
      design.outputChannel(1, 200, 1);  // a channel of no fixture
    });
    const auto holds = [&](std::array<int, 6> expected) {
      std::array<int, 6> held{};
      const bool ok = serviceUntil(
          host.path().output(), host.path().sent(),
          [&] {
            const auto u = olad.fetch(1);
            if (!u) return false;
            held = {(*u)[9], (*u)[10], (*u)[11], (*u)[12], (*u)[13], (*u)[0]};
            return held == expected;
          },
          3s);
      return ok ? testing::AssertionSuccess()
                : testing::AssertionFailure() << "olad holds " << held[0] << " " << held[1] << " " << held[2] << " "
                                              << held[3] << " " << held[4] << " " << held[5];
    };
    //                  pan  tilt dimmer shutter wheel  ch 1
    EXPECT_TRUE(holds({128, 128, 255, 11, 40, 200}));
    host.path().setMaster(50);
    EXPECT_TRUE(holds({128, 128, 128, 11, 40, 100}));
    host.path().setBlackout(true);
    EXPECT_TRUE(holds({128, 128, 0, 11, 40, 0}));
    host.path().setBlackout(false);
    host.path().setMaster(100);
    EXPECT_TRUE(holds({128, 128, 255, 11, 40, 200}));
    host.close();
    session.stop();
  }
  tk::app().setLoop(nullptr);
}

}  // namespace
