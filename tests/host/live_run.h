#pragma once
// A live run of the program (SONVERO_BIN) that a test starts, waits on until
// it runs, and stops; on silence, sending nowhere.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

namespace testlive {

// Starts `args`, waits until the run says it runs and stops it with `stop`
// (Ctrl-C by default); gives its log.
inline std::string liveRun(std::vector<std::string> args, const std::filesystem::path& log, int stop = SIGINT) {
  args.insert(args.begin(), {SONVERO_BIN, "--audio", "silence", "--dmx", "none"});
  support::ChildProcess sonvero;
  EXPECT_TRUE(sonvero.start(args, "/dev/null", log));
  EXPECT_TRUE(sonvero.waitUntil([&] { return support::readBytes(log).find(" running") != std::string::npos; },
                                std::chrono::seconds(60)));
  EXPECT_EQ(sonvero.stop(stop), 0);
  return support::readBytes(log);
}

}  // namespace testlive
