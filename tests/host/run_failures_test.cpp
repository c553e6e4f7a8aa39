// A script run whose trace cannot be written, or whose script cannot be
// read to its end, fails with a message instead of passing for a good run.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "tests/support/temp_folder.h"
#include "toolkit/text_lines.h"
#include "vantorhost/run/run_modes.h"

namespace {

TEST(ScriptRun, ATraceThatCannotBeWrittenOrAScriptThatCannotBeReadFails) {
  support::TempFolder dir;
  vantorhost::HostOptions options;
  options.pluginPath = SONVERO_PLUGIN_PATH;
  options.scriptPath = dir.path() / "s.script";
  support::writeBytes(options.scriptPath, "print Main.Check5.Value\n");
  // A device that is always full: our own node where we may make one.
  options.tracePath = dir.path() / "full";
  if (::mknod(options.tracePath.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) options.tracePath = "/dev/full";
  testing::internal::CaptureStderr();
  EXPECT_EQ(vantorhost::runScript(options), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot write the trace to " + options.tracePath + ": No space"),
            std::string::npos);

  options.tracePath = dir.path() / "trace";
  support::writeBytes(options.scriptPath, "print Main.Check5.Value\n" + std::string(tk::LineReader::kMaxLineBytes + 1, 'x'));
  testing::internal::CaptureStderr();
  EXPECT_EQ(vantorhost::runScript(options), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot read the script"), std::string::npos);
  EXPECT_EQ(support::readBytes(options.tracePath), "0 Main.Check5.Value = 0\n") << "what ran is traced";
}

}  // namespace
