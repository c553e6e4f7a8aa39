// The design kept between runs: the fullest design survives saving and
// starting again byte for byte, headless and on the desktop; a damaged
// Sonvero.show is moved aside and the session's design kept; what the bar
// dialog stores is saved and opens again, and what no show can hold is not
// saved; a read-only folder keeps the old show whole; a run with another
// design leaves the last one beside it as a backup. The fade line, the
// starter shows, and the names "Save show as" writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>

#include "tests/host/live_run.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"
#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "vantorhost/run/run_script.h"
#include "vantorhost/show/kept_show.h"
#include "vantorhost/show/show_file.h"
#include "vantorhost/show/show_text.h"
#include "vantorhost/show/starter_show.h"

namespace {

namespace fs = std::filesystem;

// Every slot a bar, every list full, every parameter off its default (the
// Beat: Balken bar waiting for bar 250; the Beat: Analyzer pixel within the
// spectrum width, which the tick would enforce), written as a show is written.
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
  return s.str();
}

TEST(Shows, TheFullestDesignSurvivesSavingAndStartingAgain) {
  support::TempFolder dir;
  const std::string show = fullestShow();
  support::writeBytes(dir.path() / "full.show", show);
  vantorhost::HostOptions script;
  script.pluginPath = SONVERO_PLUGIN_PATH;
  script.scriptPath = dir.path() / "s.script";
  script.tracePath = dir.path() / "trace";
  support::writeBytes(script.scriptPath, "open-show \"" + (dir.path() / "full.show").string() + "\"\nsave-show \"" +
                                             (dir.path() / "saved.show").string() + "\"\nprint show\n");
  ASSERT_EQ(vantorhost::runScript(script), 0);
  EXPECT_EQ(support::readBytes(dir.path() / "saved.show"), show);
  std::string printed;
  std::istringstream trace(support::readBytes(script.tracePath));
  for (std::string line; std::getline(trace, line);) printed += line.substr(line.find(' ') + 1) + '\n';
  EXPECT_EQ(printed, show);

  // Restored at start and saved at quit (headless: the terminal closing),
  // comments and all turned into the written form: the same bytes again.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  for (const std::string mode : {"headless", "desktop"}) {
    const fs::path settings = dir.path() / mode;
    fs::create_directory(settings);
    support::writeBytes(settings / "Sonvero.show", "# Sonvero show 1\r\n# by hand\r\n" + show.substr(17));
    std::vector<std::string> args{"--settings-dir", settings};
    if (mode == "headless") args.push_back("--headless");
    const std::string log = testlive::liveRun(args, settings / "log", mode == "headless" ? SIGHUP : SIGINT);
    EXPECT_NE(log.find("restored the last design"), std::string::npos) << log;
    EXPECT_NE(log.find(mode == "headless" ? "running headless" : "desktop running"), std::string::npos) << log;
    EXPECT_EQ(support::readBytes(settings / "Sonvero.show"), show) << mode;
  }
}

// The files in `folder` whose names start with `prefix`, by name.
std::vector<fs::path> filesStartingWith(const fs::path& folder, const std::string& prefix) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename().string().starts_with(prefix)) found.push_back(entry.path());
  std::sort(found.begin(), found.end());
  return found;
}

TEST(Shows, ADamagedKeptShowIsMovedAsideAndTheSessionsDesignKeptAtQuit) {
  support::TempFolder dir;
  const std::string damaged = "# Sonvero show 1\nbar 0 1 288 100 1 0 1\nbar 1 289 1 100 1 0 1\n";
  for (int run = 1; run <= 2; ++run) {
    support::writeBytes(dir.path() / "Sonvero.show", damaged);
    const std::string log = testlive::liveRun({"--headless", "--settings-dir", dir.path()}, dir.path() / "log");
    EXPECT_NE(log.find("Sonvero.show\", line 3: FROM out of range 0..288: 289; moved it aside to "), std::string::npos) << log;
    // Each run's damaged show stays, under a name of its own.
    const std::vector<fs::path> aside = filesStartingWith(dir.path(), "Sonvero.show.unreadable-");
    ASSERT_EQ(aside.size(), static_cast<std::size_t>(run)) << log;
    for (const fs::path& file : aside) EXPECT_EQ(support::readBytes(file), damaged) << file;
    // The newest name sorts last: a later second, or the same one with -2.
    EXPECT_NE(log.find("moved it aside to " + aside.back().string() + "\n"), std::string::npos) << log;
    // The session's design (empty) is kept, and opens at the next start.
    EXPECT_NE(log.find("the design is kept in"), std::string::npos) << log;
    EXPECT_TRUE(support::readBytes(dir.path() / "Sonvero.show").starts_with("# Sonvero show 1\nset Main."));
  }
  const std::string log = testlive::liveRun({"--headless", "--settings-dir", dir.path()}, dir.path() / "log");
  EXPECT_NE(log.find("restored the last design"), std::string::npos) << log;

  support::ChildProcess sonvero;
  ASSERT_TRUE(sonvero.start({SONVERO_BIN, "--headless", "--audio", "silence", "--settings-dir", dir.path(), "--show",
                             dir.path() / "none.show"}));
  EXPECT_EQ(sonvero.wait(), 1);
}

// Runs `script` (its lines) in `dir`; gives the trace without the times,
// and standard error in `errors`.
std::string runLines(const fs::path& dir, const std::string& script, std::string& errors) {
  vantorhost::HostOptions options;
  options.pluginPath = SONVERO_PLUGIN_PATH;
  options.scriptPath = dir / "s.script";
  options.tracePath = dir / "trace";
  support::writeBytes(options.scriptPath, script);
  testing::internal::CaptureStderr();
  EXPECT_EQ(vantorhost::runScript(options), 0);
  errors = testing::internal::GetCapturedStderr();
  std::string printed;
  std::istringstream trace(support::readBytes(options.tracePath));
  for (std::string line; std::getline(trace, line);) printed += line.substr(line.find(' ') + 1) + '\n';
  return printed;
}

// The bar dialog stores pixel 0 for a box left empty or holding a text that
// is none of its entries: such a design is saved and opens again whole.
TEST(Shows, WhatTheBarDialogStoresIsSavedAndOpensAgain) {
  support::TempFolder dir;
  const std::string show = "\"" + (dir.path() / "a.show").string() + "\"";
  std::string errors;
  const std::string printed = runLines(dir.path(),
                                       "click Main.Command1\ntype Presets_Channel.Combo1 x\n"
                                       "select Presets_Channel.Combo2 -1\nset Presets_Channel.Check2 2\nadvance 100\n"
                                       "click Presets_Channel.Command1\nsave-show " + show + "\nbar 0 clear\n"
                                       "open-show " + show + "\nprint bar 0\n",
                                       errors);
  EXPECT_EQ(errors, "");
  EXPECT_EQ(printed, "bar 0 = 1 0 0 0 100 1 2 1\n");
}

// A script's bar and list lines reach beyond what the dialogs store: a
// design that no show can hold is not saved, and says why.
TEST(Shows, ADesignThatCannotBeOpenedAgainIsNotSaved) {
  support::TempFolder dir;
  const fs::path file = dir.path() / "a.show";
  const std::string old = "# Sonvero show 1\nlist 2 4\n";
  for (const std::string line : {"bar 0 500 1 100 1 0 1", "list 3 2000", "bar 1 1 2 100 1 7 1"}) {
    support::writeBytes(file, old);
    std::string errors;
    runLines(dir.path(), line + "\nsave-show \"" + file.string() + "\"\n", errors);
    EXPECT_NE(errors.find("could not be opened again"), std::string::npos) << line << ": " << errors;
    EXPECT_NE(errors.find("the old file is unchanged"), std::string::npos) << errors;
    EXPECT_EQ(support::readBytes(file), old) << line;
  }
}

TEST(Shows, AReadOnlyFolderKeepsTheOldShowWhole) {
  support::TempFolder dir;
  const fs::path file = dir.path() / "Sonvero.show";
  const std::string old = "# Sonvero show 1\nlist 2 4\n";
  support::writeBytes(file, old);
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                  fs::perms::others_exec);
  tk::SimulatedLoop loop;
  tk::app().setLoop(&loop);
  {
    vantorhost::HostSession session(SONVERO_PLUGIN_PATH, loop);
    session.start();
    session.design()->writeList(2, 0, {5});
    support::Unprivileged user;
    ASSERT_TRUE(user.ok());
    const vantorhost::ShowOutcome saved = vantorhost::saveShow(session, file);
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.message.find("the old file is unchanged"), std::string::npos) << saved.message;
  }
  tk::app().setLoop(nullptr);
  EXPECT_EQ(support::readBytes(file), old);
}

// A run with --no-show or another show, quit as usual, replaces the kept
// design: the last one stays beside it in Sonvero.show.bak. A run that
// keeps the same design touches neither.
TEST(Shows, ARunWithAnotherDesignLeavesTheLastOneBesideItAsABackup) {
  support::TempFolder dir;
  const fs::path kept = dir.path() / vantorhost::kKeptShowName;
  const fs::path backup = vantorhost::keptShowBackup(kept);
  EXPECT_EQ(backup.filename(), "Sonvero.show.bak");
  const std::string last = "# Sonvero show 1\n# the last design\nlist 2 4\nbar 0 30 109 100 1 0 1\nlist 1 0 1\n";
  support::writeBytes(kept, last);
  const std::vector<std::string> settings{"--headless", "--settings-dir", dir.path()};

  auto with = [&](std::vector<std::string> args) {
    args.insert(args.begin(), settings.begin(), settings.end());
    return testlive::liveRun(args, dir.path() / "log");
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
}

// Where no backup can be made, the kept design is not replaced.
TEST(Shows, ABackupThatCannotBeWrittenLeavesTheKeptDesignAsItIs) {
  support::TempFolder dir;
  const fs::path kept = dir.path() / vantorhost::kKeptShowName;
  const std::string last = "# Sonvero show 1\nlist 2 4\n";
  support::writeBytes(kept, last);
  fs::create_directory(vantorhost::keptShowBackup(kept));
  const std::string log = testlive::liveRun({"--headless", "--settings-dir", dir.path(), "--no-show"}, dir.path() / "log");
  EXPECT_EQ(support::readBytes(kept), last);
  EXPECT_NE(log.find("this run's design is not kept"), std::string::npos) << log;
  EXPECT_TRUE(fs::is_directory(vantorhost::keptShowBackup(kept)));
}

TEST(Shows, TheFadeLineIsWrittenOnlyWhenThereIsAFade) {
  tk::SimulatedLoop loop;
  tk::app().setLoop(&loop);
  {
    vantorhost::HostSession session(SONVERO_PLUGIN_PATH, loop);
    session.start();
    const auto parameters = session.design()->parameters();
    const vantorhost::ShowDesign faded = vantorhost::parseShow("# Sonvero show 1\nfade 1\nfade 300\n", parameters);
    EXPECT_EQ(faded.host.fadeMs, 300) << "the last line wins";
    EXPECT_EQ(vantorhost::showLines(faded, parameters).back(), "fade 300");
    const vantorhost::ShowDesign plain = vantorhost::parseShow("# Sonvero show 1\n", parameters);
    EXPECT_EQ(plain.host.fadeMs, 0) << "no line: no fade, whatever the design before had";
    EXPECT_EQ(vantorhost::showLines(plain, parameters), std::vector<std::string>{std::string(vantorhost::kShowHeader)});
    for (const char* bad : {"fade 2001", "fade -5", "fade"}) {
      try {
        vantorhost::parseShow(std::string("# Sonvero show 1\n") + bad + "\n", parameters);
        ADD_FAILURE() << bad;
      } catch (const vantorhost::ShowError& e) {
        EXPECT_EQ(e.line, 2) << bad;
      }
    }
  }
  tk::app().setLoop(nullptr);
}

// A starter show sets every parameter, so that it never keeps what the
// design before it had.
TEST(Shows, StarterShowsSetAllTwentyTwoParameters) {
  tk::SimulatedLoop loop;
  tk::app().setLoop(&loop);
  {
    vantorhost::HostSession session(SONVERO_PLUGIN_PATH, loop);
    session.start();
    int shows = 0;
    for (const auto& entry : fs::directory_iterator(STARTER_SHOWS_DIR)) {
      ++shows;
      const vantorhost::ShowDesign design =
          vantorhost::parseShow(support::readBytes(entry.path()), session.design()->parameters());
      ASSERT_EQ(design.parameters.size(), 22u);
      for (std::size_t key = 0; key < design.parameters.size(); ++key)
        EXPECT_TRUE(design.parameters[key]) << entry.path() << " leaves out parameter " << key;
    }
    EXPECT_GE(shows, 2);
  }
  tk::app().setLoop(nullptr);
}

TEST(Shows, StarterShowsAreKnownByTheirFolderOrTheirBytes) {
  support::TempFolder dir;
  const fs::path starters = dir.path() / "shows";
  fs::create_directory(starters);
  support::writeBytes(starters / "par.show", "# Sonvero show 1\nlist 2 1\n");
  support::writeBytes(dir.path() / "par.show", "# Sonvero show 1\nlist 2 1\n");  // a source tree's copy
  support::writeBytes(dir.path() / "mine.show", "# Sonvero show 1\nlist 2 2\n");
  support::writeBytes(dir.path() / "other.show", "# Sonvero show 1\nlist 2 1\n");
  EXPECT_TRUE(vantorhost::isStarterShow(starters / "par.show", starters));
  EXPECT_TRUE(vantorhost::isStarterShow(starters / ".." / "shows" / "par.show", starters));
  EXPECT_TRUE(vantorhost::isStarterShow(dir.path() / "par.show", starters));
  EXPECT_FALSE(vantorhost::isStarterShow(dir.path() / "mine.show", starters));
  EXPECT_FALSE(vantorhost::isStarterShow(dir.path() / "other.show", starters)) << "same bytes, another name";
  support::writeBytes(dir.path() / "par.show", "# Sonvero show 1\nlist 2 1\nlist 3 1\n");
  EXPECT_FALSE(vantorhost::isStarterShow(dir.path() / "par.show", starters)) << "a copy changed by hand";
  EXPECT_FALSE(vantorhost::isStarterShow(dir.path() / "missing.show", starters));
  EXPECT_FALSE(vantorhost::isStarterShow(dir.path() / "mine.show", {}));
}

TEST(Shows, SaveAsGivesANameWithoutAnExtensionTheShowExtension) {
  using vantorhost::withShowExtension;
  EXPECT_EQ(withShowExtension("/home/me/mygig"), fs::path("/home/me/mygig.show"));
  EXPECT_EQ(withShowExtension("/home/me/mygig.show"), fs::path("/home/me/mygig.show"));
  EXPECT_EQ(withShowExtension("/home/me/mygig.txt"), fs::path("/home/me/mygig.txt")) << "a chosen extension stays";
  EXPECT_EQ(withShowExtension("/home/me.d/gig"), fs::path("/home/me.d/gig.show"));
}

}  // namespace
