// The plug-in class as the host meets it, and what the host reads through
// the design interface instead of the plug-in's controls.
#include "plugin/clsVantorPlugIn.h"
#include "plugin/plugin_design.h"
#include "tests/ui/main_fixture.h"

namespace {

TEST(PluginObject, EveryModuleInfoIsNewButNamesTheSameWindow) {
  clsVantorPlugIn object;
  auto first = object.module().GetModuleInfo();
  auto second = object.module().GetModuleInfo();
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(second->parameters.size(), 2u) << "items go into the new object's own collection";
  EXPECT_EQ(first->window, &mainForm());
  EXPECT_EQ(second->window, &mainForm());
  EXPECT_FALSE(mainForm().loaded()) << "nothing runs before the host loads the window";
}

using PluginDesign = MainTest;

// The switches that decide whether light can move.
TEST_F(PluginDesign, SwitchesFollowTheirBoxesAndAClosedWindowHasNone) {
  IPluginDesign& design = pluginDesign();
  event([this] {
    main.Check5.setValue(1);
    main.Check8.setValue(0);
    main.Check9.setValue(0);
  });
  EXPECT_EQ(design.switches(), (DesignSwitches{true, false, false}));
  // A grey box is not ticked, and a grey mute mutes.
  event([this] {
    main.Check5.setValue(2);
    main.Check8.setValue(2);
    main.Check9.setValue(1);
  });
  EXPECT_EQ(design.switches(), (DesignSwitches{false, true, true}));
  event([this] { main.Check5.setValue(1); });
  event([this] { main.unload(tk::UnloadMode::CloseBox); });
  EXPECT_EQ(design.switches(), DesignSwitches{});
}

// A free slot's list and the entries after a list's first gap send nothing.
TEST_F(PluginDesign, UsedChannelsAreThoseTheEngineReads) {
  IPluginDesign& design = pluginDesign();
  design.clearDesign();
  EXPECT_TRUE(design.usedChannels().empty());
  design.writeList(1, 0, {700, 3});
  design.writeBar(0, 1, 288, 100, 0, 0, 0);
  design.writeList(1, 5, {900});  // slot 5 holds no bar
  design.writeList(2, 0, {3, 0, 1000});
  design.writeList(6, 0, {512});
  EXPECT_EQ(design.usedChannels(), (std::vector<std::int16_t>{3, 512, 700}));
  design.clearBar(0);
  EXPECT_EQ(design.usedChannels(), (std::vector<std::int16_t>{3, 512}));
  design.clearDesign();
}

}  // namespace
