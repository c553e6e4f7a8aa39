// A script that cannot be read to its end fails instead of passing for a
// good run (other failures: goldens foundation_* and audio_missing_file).
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
  support::writeBytes(options.scriptPath,
                      "print Main.Check5.Value\n" + std::string(files::LineReader::kMaxLineBytes + 1, 'x'));
  testing::internal::CaptureStderr();
  EXPECT_EQ(vantorhost::runScript(options), 1);
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("cannot read the script"), std::string::npos) << errors;
  EXPECT_EQ(support::readBytes(options.tracePath), "0 Main.Check5.Value = 0\n") << "what ran is traced";
}

}  // namespace
