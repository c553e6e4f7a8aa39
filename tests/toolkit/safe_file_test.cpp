// Reading and replacing the settings file in every state a file system can
// hand us (a regular file's mode, owner and links kept: the settings fuzz
// target), a save killed at any step, saves at once, a full disk.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <vector>

#include "tests/support/file_states.h"

namespace {

namespace fs = std::filesystem;
using support::FileState;
using support::readBytes;

const std::string kOld = "[Einstellungen]\r\nVU - SS=5\r\n";

std::size_t entries(const fs::path& dir) { return support::folderSnapshot(dir).size(); }

class RefusedTarget : public ::testing::TestWithParam<int> {};

TEST_P(RefusedTarget, ReadsAsDefaultsFailsTheSaveWithAReasonAndChangesNothing) {
  const auto state = static_cast<FileState>(GetParam());
  support::TempFolder dir;
  const fs::path file = dir.path() / "Sonvero.ini";
  if (!support::makeFileState(state, dir.path(), kOld)) GTEST_SKIP() << "needs root";
  const auto before = support::folderSnapshot(dir.path());
  files::ReplaceResult saved, replaced;
  std::string value;
  {
    support::Unprivileged user(support::traits(state).asNobody);
    ASSERT_TRUE(user.ok());
    tk::PrivateProfile profile = tk::PrivateProfile::load(file);
    value = profile.get("Einstellungen", "VU - SS", "1", 1280);
    profile.set("Einstellungen", "VU - SS", "51");
    saved = profile.save();
    // The replacement alone refuses it too, but for being too large to read.
    if (state != FileState::LargerThanTheLimit) replaced = files::replaceFile(file, "[Einstellungen]\r\n");
  }
  EXPECT_EQ(value, support::traits(state).readable ? "5" : "1");
  EXPECT_FALSE(saved.ok);
  EXPECT_NE(saved.reason, "");
  EXPECT_FALSE(replaced.ok);
  EXPECT_EQ(support::folderSnapshot(dir.path()), before) << saved.reason << "; " << replaced.reason;
}

// Every state but the two a save may replace.
INSTANTIATE_TEST_SUITE_P(SafeFile, RefusedTarget,
                         ::testing::Range(static_cast<int>(FileState::LinkToDevice), static_cast<int>(FileState::kCount)),
                         [](const auto& param) { return support::traits(static_cast<FileState>(param.param)).name; });

// The step at which the child below ends itself.
files::ReplaceStep dieAt;
void dieHere(files::ReplaceStep step) {
  if (step == dieAt) ::raise(SIGKILL);
}

class KilledSave : public ::testing::TestWithParam<files::ReplaceStep> {};

TEST_P(KilledSave, LeavesTheOldFileOrTheNewOneAndTheNextSaveClearsUp) {
  support::TempFolder dir;
  const fs::path file = dir.path() / "Sonvero.ini";
  support::writeBytes(file, kOld + std::string(100000, ';') + "\r\n");
  const std::string old = readBytes(file);
  const auto save = [&](const char* value) {
    tk::PrivateProfile profile = tk::PrivateProfile::load(file);
    for (const char* key : {"VU - SS", "Beat-Tool", "VU - Mute"}) profile.set("Einstellungen", key, value);
    return profile.save();
  };
  dieAt = GetParam();
  const pid_t child = ::fork();
  if (child == 0) {
    files::setReplaceStepHook(&dieHere);
    save("7");
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  if (GetParam() == files::ReplaceStep::Renamed) {
    for (const char* key : {"VU - SS", "Beat-Tool", "VU - Mute"})
      EXPECT_EQ(tk::getPrivateProfileString("Einstellungen", key, "", 1280, file), "7") << key;
  } else {
    EXPECT_EQ(readBytes(file), old);
    EXPECT_EQ(entries(dir.path()), 2u) << "the killed save's temporary file";
  }
  ASSERT_TRUE(save("8").ok);
  EXPECT_EQ(entries(dir.path()), 1u) << "a temporary file left";
}

INSTANTIATE_TEST_SUITE_P(SafeFile, KilledSave,
                         ::testing::Values(files::ReplaceStep::TemporaryCreated, files::ReplaceStep::Written,
                                           files::ReplaceStep::Synced, files::ReplaceStep::Renamed));

// Between the moment a save's temporary file is there and the moment it is
// locked, made long here so that it is met often.
void pauseBeforeTheLock(files::ReplaceStep step) {
  if (step == files::ReplaceStep::TemporaryNamed) ::usleep(1000);
}

// Saves from several processes at once: each one's clean-up of leftovers
// meets the others' fresh temporary files.
TEST(SafeFile, SavesFromSeveralProcessesAtOnceAllSucceed) {
  support::TempFolder dir;
  const fs::path file = dir.path() / "Sonvero.show";
  const auto bytes = [](int saver) { return std::string(4000, static_cast<char>('a' + saver)); };
  support::writeBytes(file, bytes(0));
  constexpr int kSavers = 4, kSaves = 150;
  std::vector<pid_t> savers;
  for (int saver = 1; saver <= kSavers; ++saver) {
    const pid_t child = ::fork();
    if (child == 0) {
      files::setReplaceStepHook(&pauseBeforeTheLock);
      int failed = 0;
      for (int n = 0; n < kSaves; ++n) {
        if (!files::replaceFile(file, bytes(saver))) ++failed;
        const std::string now = readBytes(file);
        if (now.size() != 4000 || now.find_first_not_of(now[0]) != std::string::npos) ++failed;
      }
      ::_exit(std::min(failed, 100));
    }
    savers.push_back(child);
  }
  for (const pid_t child : savers) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "saves that failed or left a mix in one saver";
  }
  EXPECT_EQ(entries(dir.path()), 1u) << "a temporary file left";
}

// A disk that fills up (here: the file size limit) while the new file is written.
TEST(SafeFile, AWriteThatRunsOutOfSpaceLeavesTheOldFileWhole) {
  support::TempFolder dir;
  const fs::path file = dir.path() / "Sonvero.ini";
  support::writeBytes(file, kOld);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const files::ReplaceResult result = files::replaceFile(file, std::string(1000, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_NE(result.reason.find("too large"), std::string::npos) << result.reason;
  EXPECT_EQ(readBytes(file), kOld);
  EXPECT_EQ(entries(dir.path()), 1u) << "a temporary file left";
}

}  // namespace
