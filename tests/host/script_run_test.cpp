// A script run that fails says so: a script that cannot be read to its end
// fails instead of passing for a good run (an unwritable trace: golden
// foundation_trace_unwritable; a malformed line, quoted as the parser
// escapes it: script_parser_test and golden foundation_error_unknown).
#include <sys/stat.h>

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

// An audio file that cannot be taken says which way it fails, not
// "unknown audio source" for all (each of libsndfile's reasons:
// BridgeTest.UnreadableFilesAndUrisAreRefusedWithAReasonAndTheOldSourceStays).
TEST(ScriptRun, AnAudioFileThatCannotBeTakenSaysWhy) {
  support::TempFolder dir;
  const std::filesystem::path fifo = dir.path() / "fifo.wav";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  support::writeBytes(dir.path() / "empty.wav", "");
  support::writeBytes(dir.path() / "text.wav", "RIFF, but only a word of it");
  for (const auto& [file, why] : std::initializer_list<std::pair<std::filesystem::path, std::string>>{
           {dir.path() / "missing.wav", "no such file"},
           {dir.path() / "empty.wav", "an empty file"},
           {fifo, "a FIFO, not a regular file"},
           {dir.path(), "a folder, not a file"},
           {dir.path() / "text.wav", "not an audio file libsndfile knows ("}}) {
    const testscript::Ran ran = testscript::run(dir.path(), "audio file:" + file.string() + "\n");
    EXPECT_EQ(ran.status, 2);
    EXPECT_NE(ran.errors.find("error 1: cannot take the audio source file:" + file.string() + ": " + why),
              std::string::npos) << ran.errors;
  }
}

}  // namespace
