// A script that cannot be read to its end fails the run with a message
// instead of passing for a good run (an unwritable trace: golden
// foundation_trace_unwritable).
#include <gtest/gtest.h>

#include "files/text_lines.h"
#include "tests/support/temp_folder.h"
#include "vantorhost/run/run_script.h"

namespace {

TEST(ScriptRun, AScriptThatCannotBeReadToItsEndFails) {
  support::TempFolder dir;
  vantorhost::HostOptions options;
  options.pluginPath = SONVERO_PLUGIN_PATH;
  options.scriptPath = dir.path() / "s.script";
  options.tracePath = dir.path() / "trace";
  support::writeBytes(options.scriptPath, "print Main.Check5.Value\n" + std::string(files::LineReader::kMaxLineBytes + 1, 'x'));
  testing::internal::CaptureStderr();
  EXPECT_EQ(vantorhost::runScript(options), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot read the script"), std::string::npos);
  EXPECT_EQ(support::readBytes(options.tracePath), "0 Main.Check5.Value = 0\n") << "what ran is traced";
}

}  // namespace
