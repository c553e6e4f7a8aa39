// The design kept between runs (goldens shows_dialog_values, shows_unsaveable
// and shows_starter_parameters say the rest).
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tests/host/live_run.h"
#include "vantorhost/show/kept_show.h"
#include "vantorhost/show/show_file.h"
#include "vantorhost/show/starter_show.h"

namespace {

namespace fs = std::filesystem;

// Every slot a bar, every list full, every parameter off its default (within
// what the tick would enforce), written as a show is written.
std::string fullestShow() {
  std::ostringstream s;
  s << "# Sonvero show 1\n";
  auto list = [&](const std::string& head, int seed) {
    s << head;
    for (int i = 0; i < 1024; ++i) s << ' ' << (seed + i * 7) % 1024 + 1;
    s << '\n';
  };
  for (int slot = 0; slot < 288; ++slot) list("list 1 " + std::to_string(slot), slot);
  for (int id = 2; id <= 6; ++id) list("list " + std::to_string(id), id * 100);
  for (int slot = 0; slot < 288; ++slot)
    s << "bar " << slot << ' ' << slot + 1 << ' ' << 288 - slot << ' ' << slot % 200 + 1 << ' ' << slot % 256 << ' '
      << slot % 2 << ' ' << slot * 3 % 256 << '\n';
  for (const char* set : {"VScroll1 200", "VScroll2 7", "VScroll3 8", "VScroll4 250", "VScroll5 9", "VScroll6 10",
                          "VScroll7 11", "VScroll8 0", "Slider1 42", "Slider2 43", "Slider3 244", "Slider4 45",
                          "Check1 1", "Check2 1", "Check3 1", "Check4 1", "Check5 1", "Check6 1", "Check7 2",
                          "Check8 0", "Check9 0", "Option1(3) 1"})
    s << "set Main." << set << '\n';
  s << "beats source lead\n";
  return s.str();
}

// Restored at start and saved at quit (headless: the terminal closing) as the same bytes.
TEST(Shows, TheFullestDesignSurvivesSavingAndStartingAgain) {
  support::TempFolder dir;
  const std::string show = fullestShow();
  for (const std::string mode : {"headless", "desktop"}) {
    const fs::path settings = dir.path() / mode;
    fs::create_directory(settings);
    support::writeBytes(settings / "Sonvero.show", "# Sonvero show 1\r\n# by hand\r\n" + show.substr(17));
    std::vector<std::string> args;
    if (mode == "headless") args.push_back("--headless");
    const std::string log = testlive::liveRun(settings, args, mode == "headless" ? SIGHUP : SIGINT);
    EXPECT_NE(log.find("restored the last design"), std::string::npos) << log;
    EXPECT_NE(log.find(mode == "headless" ? "running headless" : "desktop running"), std::string::npos) << log;
    EXPECT_EQ(support::readBytes(settings / "Sonvero.show"), show) << mode;
  }
}

TEST(Shows, ADamagedKeptShowIsMovedAsideAndTheSessionsDesignKeptAtQuit) {
  support::TempFolder dir;
  const std::string damaged = "# Sonvero show 1\nbar 0 1 288 100 1 0 1\nbar 1 289 1 100 1 0 1\n";
  for (std::size_t run = 1; run <= 2; ++run) {
    support::writeBytes(dir.path() / "Sonvero.show", damaged);
    const std::string log = testlive::liveRun(dir.path(), {"--headless"});
    EXPECT_NE(log.find("Sonvero.show\", line 3: FROM out of range 0..288: 289; moved it aside to "), std::string::npos) << log;
    // Each run's damaged show stays under a name of its own; the newest sorts last.
    std::vector<fs::path> aside;
    for (const auto& entry : fs::directory_iterator(dir.path()))
      if (entry.path().filename().string().starts_with("Sonvero.show.unreadable-")) aside.push_back(entry.path());
    std::sort(aside.begin(), aside.end());
    ASSERT_EQ(aside.size(), run) << log;
    for (const fs::path& file : aside) EXPECT_EQ(support::readBytes(file), damaged) << file;
    EXPECT_NE(log.find("moved it aside to " + aside.back().string() + "\n"), std::string::npos) << log;
    // The session's design (empty) is kept, and opens at the next start.
    EXPECT_NE(log.find("the design is kept in"), std::string::npos) << log;
    EXPECT_TRUE(support::readBytes(dir.path() / "Sonvero.show").starts_with("# Sonvero show 1\nset Main."));
  }
  const std::string log = testlive::liveRun(dir.path(), {"--headless"});
  EXPECT_NE(log.find("restored the last design"), std::string::npos) << log;

  support::ChildProcess sonvero;
  ASSERT_TRUE(sonvero.start({SONVERO_BIN, "--headless", "--audio", "silence", "--settings-dir", dir.path(), "--show",
                             dir.path() / "none.show"}));
  EXPECT_EQ(sonvero.wait(), 1) << "a missing --show stops the start";
}

// Another design replaces the kept one, the last staying in Sonvero.show.bak
// (one generation); where no backup can be made, nothing is replaced.
TEST(Shows, ARunWithAnotherDesignLeavesTheLastOneBesideItAsABackup) {
  support::TempFolder dir;
  const fs::path kept = dir.path() / vantorhost::kKeptShowName;
  const fs::path backup = vantorhost::keptShowBackup(kept);
  EXPECT_EQ(backup.filename(), "Sonvero.show.bak");
  const std::string last = "# Sonvero show 1\n# the last design\nlist 2 4\nbar 0 30 109 100 1 0 1\nlist 1 0 1\n";
  support::writeBytes(kept, last);
  auto with = [&](std::vector<std::string> args) {
    args.push_back("--headless");
    return testlive::liveRun(dir.path(), args);
  };
  std::string log = with({"--no-show"});
  EXPECT_EQ(support::readBytes(backup), last);
  EXPECT_NE(log.find("the one it replaced is in " + backup.string()), std::string::npos) << log;
  const std::string empty = support::readBytes(kept);
  EXPECT_EQ(empty.find("list "), std::string::npos) << empty;

  log = with({});
  EXPECT_NE(log.find("(unchanged)"), std::string::npos) << log;
  EXPECT_EQ(support::readBytes(kept), empty);
  EXPECT_EQ(support::readBytes(backup), last) << "an unchanged design leaves the backup alone";

  support::writeBytes(dir.path() / "other.show", "# Sonvero show 1\nlist 3 9\nfade 250\n");
  with({"--show", dir.path() / "other.show"});
  EXPECT_NE(support::readBytes(kept).find("\nlist 3 9\n"), std::string::npos);
  EXPECT_NE(support::readBytes(kept).find("\nfade 250\n"), std::string::npos) << "the fade is part of the design";
  EXPECT_EQ(support::readBytes(backup), empty) << "one generation";

  const std::string other = support::readBytes(kept);
  fs::remove(backup);
  fs::create_directory(backup);
  log = with({"--no-show"});
  EXPECT_EQ(support::readBytes(kept), other);
  EXPECT_NE(log.find("this run's design is not kept"), std::string::npos) << log;
}

// Sonvero.show notes the show its design stands for and whether it has unsaved
// changes; a damaged or missing note costs the name, never the design.
TEST(Shows, TheKeptDesignNotesTheShowItStandsFor) {
  support::TempFolder dir;
  const fs::path kept = dir.path() / vantorhost::kKeptShowName, mygig = dir.path() / "mygig.show";
  support::writeBytes(mygig, "# Sonvero show 1\nlist 2 1\n");
  testlive::liveRun(dir.path(), {"--headless", "--show", mygig});
  const std::string noted = "# from the show " + mygig.string() + "\n";
  EXPECT_TRUE(support::readBytes(kept).starts_with("# Sonvero show 1\n" + noted)) << support::readBytes(kept);
  std::string log = testlive::liveRun(dir.path(), {"--headless"});
  EXPECT_NE(log.find("restored the last design from " + kept.string() + " (the show " + mygig.string() + ")\n"),
            std::string::npos) << log;
  EXPECT_NE(log.find("(unchanged)"), std::string::npos) << log;

  // The desktop keeps the changed state as it stands at quit.
  const std::string rest = "list 2 9\n";
  support::writeBytes(kept, "# Sonvero show 1\n# changed from the show " + mygig.string() + "\n" + rest);
  log = testlive::liveRun(dir.path(), {});
  EXPECT_NE(log.find("(the show " + mygig.string() + ", with changes not saved in it)"), std::string::npos) << log;
  EXPECT_NE(support::readBytes(kept).find("\n# changed from the show " + mygig.string() + "\n"), std::string::npos);
  support::writeBytes(kept, "# Sonvero show 1\n# changed from the show " + mygig.string() + "\nlist 2 1\n");
  testlive::liveRun(dir.path(), {});
  EXPECT_TRUE(support::readBytes(kept).starts_with("# Sonvero show 1\n" + noted)) << "the same design as the show";

  for (const std::string note : {"# from the show relative.show", "# from the show /x\x1b[2J.show",
                                  "# from the show ", "# changed from the show"}) {
    support::writeBytes(kept, "# Sonvero show 1\n" + note + "\n" + rest);
    log = testlive::liveRun(dir.path(), {"--headless"});
    EXPECT_NE(log.find("restored the last design from " + kept.string() + "\n"), std::string::npos) << note << log;
    EXPECT_NE(support::readBytes(kept).find("\n" + rest), std::string::npos) << note;
  }
  testlive::liveRun(dir.path(), {"--headless", "--no-show"});
  EXPECT_EQ(support::readBytes(kept).find("from the show"), std::string::npos) << "an empty design stands for none";
}

// In the starters' folder, or a copy with the same name and bytes.
TEST(Shows, StarterShowsAreKnownByTheirFolderOrTheirBytes) {
  support::TempFolder dir;
  const fs::path starters = dir.path() / "shows";
  fs::create_directory(starters);
  for (const fs::path& file : {starters / "par.show", dir.path() / "par.show", dir.path() / "other.show"})
    support::writeBytes(file, "# Sonvero show 1\nlist 2 1\n");
  EXPECT_TRUE(vantorhost::isStarterShow(starters / ".." / "shows" / "par.show", starters));
  EXPECT_TRUE(vantorhost::isStarterShow(dir.path() / "par.show", starters)) << "a source tree's copy";
  EXPECT_FALSE(vantorhost::isStarterShow(dir.path() / "other.show", starters)) << "same bytes, another name";
  EXPECT_FALSE(vantorhost::isStarterShow(dir.path() / "par.show", {}));
  support::writeBytes(dir.path() / "par.show", "# Sonvero show 1\nlist 2 1\nlist 3 1\n");
  EXPECT_FALSE(vantorhost::isStarterShow(dir.path() / "par.show", starters)) << "a copy changed by hand";
}

TEST(Shows, SaveAsGivesANameWithoutAnExtensionTheShowExtension) {
  EXPECT_EQ(vantorhost::withShowExtension("/home/me.d/gig"), fs::path("/home/me.d/gig.show"));
  EXPECT_EQ(vantorhost::withShowExtension("/home/me/mygig.txt"), fs::path("/home/me/mygig.txt")) << "chosen: kept";
}

}  // namespace
