#pragma once
// A live run of the program on silence, sending nowhere.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

namespace testlive {

// Starts `args` with the settings in `dir` (a desktop run offscreen), waits
// until the run says it runs and stops it with `stop`; gives its log.
inline std::string liveRun(const std::filesystem::path& dir, std::vector<std::string> args, int stop = SIGINT) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  args.insert(args.begin(), {SONVERO_BIN, "--audio", "silence", "--dmx", "none", "--settings-dir", dir});
  const std::filesystem::path log = dir / "log";
  support::ChildProcess sonvero;
  EXPECT_TRUE(sonvero.start(args, "/dev/null", log));
  EXPECT_TRUE(sonvero.waitUntil([&] { return support::readBytes(log).find(" running") != std::string::npos; },
                                std::chrono::seconds(60)));
  EXPECT_EQ(sonvero.stop(stop), 0);
  return support::readBytes(log);
}

}  // namespace testlive
