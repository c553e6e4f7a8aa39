// "Drive": a fixture's channels of one attribute join the chosen list as the
// channel dialog adds them.
#include <gtest/gtest.h>

#include "tests/host/fixture_definitions.h"
#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "vantorhost/session/host_session.h"
#include "vantorhost/show/fixture_drive.h"

using namespace vantorhost;

namespace {

TEST(FixtureDrive, AnAttributesChannelsJoinTheChosenList) {
  tk::SimulatedLoop loop;
  tk::app().setLoop(&loop);
  {
    HostSession session(SONVERO_PLUGIN_PATH, loop);
    session.start();
    IPluginDesign& design = *session.design();
    fixtures_test::MemoryDefinitions library;
    library.add(fixtures_test::qxf("Acme", "Par", fixtures_test::parBody()));
    library.add(fixtures_test::qxf("Acme", "Head", fixtures_test::headBody(), "Moving Head"));
    FixturePatch patch;
    ASSERT_FALSE(patch.place({"par", "Acme", "Par", "4ch", 10}, library));   // red 10 .. dimmer 13
    ASSERT_FALSE(patch.place({"head", "Acme", "Head", "5ch", 20}, library));  // its dimmer is 22
    ASSERT_FALSE(patch.place({"ghost", "Nobody", "Par", "4ch", 30}, library));
    design.writeList(1, 0, {5});
    design.writeBar(0, 30, 109, 100, 1, 0, 1);

    const struct {
      const char* fixture;
      Attribute attribute;
      DriveSource source;
      std::vector<std::int16_t> added;
      const char* problem;
    } cases[] = {
        {"par", Attribute::Red, {1, 0}, {10}, ""},
        {"par", Attribute::Red, {1, 0}, {}, "the list holds those channels already"},
        {"par", Attribute::Dimmer, {2, 0}, {13}, ""},
        {"head", Attribute::Dimmer, {2, 0}, {22}, ""},
        {"head", Attribute::Red, {2, 0}, {}, "\"head\" has no red channel"},
        {"par", Attribute::Blue, {1, 5}, {}, "there is no bar 6"},
        {"ghost", Attribute::Red, {3, 0}, {}, "\"ghost\" cannot be driven: Nobody/Par is not installed"},
    };
    for (const auto& c : cases) {
      const DriveResult result = driveFixture(design, *patch.fixture(c.fixture), c.attribute, c.source);
      EXPECT_EQ(result.added, c.added) << c.fixture << " " << c.problem;
      EXPECT_EQ(result.problem, c.problem);
    }
    EXPECT_EQ(design.readList(1, 0), (std::vector<std::int16_t>{5, 10}));
    EXPECT_EQ(design.readBar(0).channelSummary, 510) << "the bar's summary follows its list";
    EXPECT_EQ(design.readBar(0).toPixel, 109);
    EXPECT_EQ(design.readList(2, 0), (std::vector<std::int16_t>{13, 22}));
    EXPECT_TRUE(design.readList(3, 0).empty());
    session.stop();
  }
  tk::app().setLoop(nullptr);
}

}  // namespace
