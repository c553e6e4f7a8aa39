// The host window's Link toggle: it joins and leaves the session and is
// kept; what it shows follows the session and what drives the beats.
#include <QTest>
#include <regex>

#include "tests/desktop/host_window_fixture.h"
#include "vantorhost/link/link_session.h"

namespace {

using LinkPanelTest = HostWindowTest;

TEST_F(LinkPanelTest, TheLinkToggleJoinsAndLeavesTheSessionAndIsKept) {
  LinkSession link;
  BeatSource beats(link, [](vbvis_tracker_state& s) { s = {}; });
  HostWindow window(*session, *path, &kept, HostWindow::Link{link, beats});
  ASSERT_NE(window.linkPanel(), nullptr);
  LinkPanel& panel = *window.linkPanel();
  EXPECT_FALSE(panel.toggle().isChecked());
  EXPECT_EQ(panel.sessionText().text(), "off");

  panel.toggle().click();
  EXPECT_TRUE(link.enabled());
  EXPECT_EQ(readHostSettings(keptFile()).link, true);
  const std::string shown = panel.sessionText().text().toStdString();
  EXPECT_TRUE(std::regex_match(shown, std::regex("\\d+ peers?, \\d+\\.\\d BPM"))) << shown;

  // Left elsewhere: shown on the next upkeep, and not kept as the user's choice.
  link.enable(false);
  window.upkeep();
  EXPECT_FALSE(panel.toggle().isChecked());
  EXPECT_EQ(panel.sessionText().text(), "off");
  EXPECT_EQ(readHostSettings(keptFile()).link, true);

  // What drives the beats, in the tip.
  beats.choose(BeatSourceChoice::Link);
  vbvis_tracker_state state{};
  beats.read(state, 0);
  window.upkeep();
  EXPECT_EQ(panel.sessionText().toolTip(), "Beats: Link is off: the beat follows the tracker");

  panel.toggle().click();
  panel.toggle().click();
  EXPECT_FALSE(link.enabled());
  EXPECT_EQ(readHostSettings(keptFile()).link, false);
}

TEST_F(LinkPanelTest, AWindowWithoutALinkSessionHasNoToggle) { EXPECT_EQ(host->linkPanel(), nullptr); }

}  // namespace
