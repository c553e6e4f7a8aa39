#pragma once
// A session script the test writes, run as `sonvero --script` runs it, in a
// folder of the test's own.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/support/temp_folder.h"
#include "vantorhost/run/run_script.h"

namespace testscript {

struct Ran {
  int status;
  std::string trace;   // without the times
  std::string errors;  // standard error
};

inline Ran run(const std::filesystem::path& dir, const std::string& script) {
  vantorhost::HostOptions options;
  options.pluginPath = SONVERO_PLUGIN_PATH;
  options.scriptPath = dir / "s.script";
  options.tracePath = dir / "trace";
  support::writeBytes(options.scriptPath, script);
  testing::internal::CaptureStderr();
  Ran ran{vantorhost::runScript(options), "", ""};
  ran.errors = testing::internal::GetCapturedStderr();
  std::istringstream trace(support::readBytes(options.tracePath));
  for (std::string line; std::getline(trace, line);) ran.trace += line.substr(line.find(' ') + 1) + '\n';
  return ran;
}

}  // namespace testscript
