// A script that cannot be read to its end fails instead of passing for a
// good run (other failures: goldens foundation_* and audio_missing_file).
#include <filesystem>

#include "files/text_lines.h"
#include "tests/host/script_run.h"

namespace {

TEST(ScriptRun, AScriptThatCannotBeReadToItsEndFails) {
  support::TempFolder dir;
  const testscript::Ran ran =
      testscript::run(dir.path(), "print Main.Check5.Value\n" + std::string(files::LineReader::kMaxLineBytes + 1, 'x'));
  EXPECT_EQ(ran.status, 1);
  EXPECT_NE(ran.errors.find("cannot read the script"), std::string::npos) << ran.errors;
  EXPECT_EQ(ran.trace, "Main.Check5.Value = 0\n") << "what ran is traced";
}

}  // namespace
