// A script run that fails says so: a script that cannot be read to its end
// fails instead of passing for a good run (an unwritable trace: golden
// foundation_trace_unwritable), and a malformed line is quoted escaped.
#include "files/text_lines.h"
#include "tests/host/hostile_bytes.h"
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

TEST(ScriptRun, AMalformedLineIsPrintedEscaped) {
  support::TempFolder dir;
  const testscript::Ran ran = testscript::run(dir.path(), "click Main.Command\xC2\x9B" "2J\n");
  EXPECT_EQ(ran.status, 2);
  EXPECT_NE(ran.errors.find("error 1: "), std::string::npos) << ran.errors;
  EXPECT_NE(ran.errors.find("Command\\u009b2J"), std::string::npos) << ran.errors;
  hostile::expectPrintable(ran.errors.substr(0, ran.errors.size() - 1));
}

}  // namespace
