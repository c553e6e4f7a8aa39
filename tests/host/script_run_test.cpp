// A script run that fails says so: a script that cannot be read to its end
// fails instead of passing for a good run (an unwritable trace: golden
// foundation_trace_unwritable; a malformed line, quoted as the parser
// escapes it: script_parser_test and golden foundation_error_unknown; an
// audio file that cannot be taken, with the bridge's reason: goldens
// audio_missing_file and audio_folder_file).
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
