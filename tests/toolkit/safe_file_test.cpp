// Reading and replacing the settings file in every state a file system can
// hand us: only a regular file this user may write is ever replaced, and
// then with its mode, owner, group and links kept; everything else reads
// as defaults, fails the save and stays exactly as it was. A save killed
// at any step leaves the old file or the new one.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "tests/support/file_states.h"
#include "tests/support/temp_folder.h"
#include "toolkit/private_profile.h"

namespace {

namespace fs = std::filesystem;
using support::readBytes;
using support::writeBytes;

constexpr uid_t kNobody = 65534;
const std::string kOld = "[Einstellungen]\r\nVU - SS=5\r\n";

bool root() { return ::geteuid() == 0; }

// Every state but the two a save may replace.
std::vector<support::FileState> refusedStates() {
  std::vector<support::FileState> states;
  for (int s = static_cast<int>(support::FileState::LinkToDevice); s < static_cast<int>(support::FileState::kCount); ++s)
    states.push_back(static_cast<support::FileState>(s));
  return states;
}

class RefusedTarget : public ::testing::TestWithParam<support::FileState> {
 protected:
  support::TempFolder dir;
  fs::path file = dir.path() / "Sonvero.ini";
};

TEST_P(RefusedTarget, ReadsAsDefaultsFailsTheSaveWithAReasonAndChangesNothing) {
  const support::FileStateTraits& state = support::traits(GetParam());
  if (!support::makeFileState(GetParam(), dir.path(), kOld)) GTEST_SKIP() << "needs root";
  const auto before = support::folderSnapshot(dir.path());
  tk::ReplaceResult saved, replaced;
  std::string value;
  {
    support::Unprivileged user(state.asNobody);
    ASSERT_TRUE(user.ok());
    tk::PrivateProfile profile = tk::PrivateProfile::load(file);
    value = profile.get("Einstellungen", "VU - SS", "1", 1280);
    profile.set("Einstellungen", "VU - SS", "51");
    saved = profile.save();
    // The replacement alone refuses it too, except a file too large to read.
    if (GetParam() != support::FileState::LargerThanTheLimit) replaced = tk::replaceFile(file, "[Einstellungen]\r\n");
  }
  EXPECT_EQ(value, state.readable ? "5" : "1");
  EXPECT_FALSE(saved.ok);
  EXPECT_NE(saved.reason, "");
  EXPECT_FALSE(replaced.ok);
  EXPECT_EQ(support::folderSnapshot(dir.path()), before) << saved.reason << "; " << replaced.reason;
}

INSTANTIATE_TEST_SUITE_P(SafeFile, RefusedTarget,
                         ::testing::ValuesIn(refusedStates()),
                         [](const auto& param) { return std::string(support::traits(param.param).name); });

// A link to another user's file, saved by root: the link stays, the file
// keeps its owner, group, mode and contents around the new values.
TEST(SafeFile, ALinkedFileKeepsItsLinkModeOwnerAndGroup) {
  support::TempFolder dir;
  fs::create_directory(dir.path() / "real");
  const fs::path target = dir.path() / "real" / "settings.ini";
  const fs::path file = dir.path() / "Sonvero.ini";
  writeBytes(target, "[Other]\r\nx=1\r\n" + kOld);
  ::chmod(target.c_str(), 0640);
  const bool chown = root() && ::chown(target.c_str(), kNobody, kNobody) == 0;
  fs::create_symlink(target, file);
  EXPECT_TRUE(tk::writePrivateProfileString("Einstellungen", "VU - SS", "51", file));
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_EQ(readBytes(target), "[Other]\r\nx=1\r\n[Einstellungen]\r\nVU - SS=51\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (chown) {
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
  }
}

// The step at which the child below ends itself.
tk::ReplaceStep dieAt;
void dieHere(tk::ReplaceStep step) {
  if (step == dieAt) ::raise(SIGKILL);
}

class KilledSave : public ::testing::TestWithParam<tk::ReplaceStep> {};

TEST_P(KilledSave, LeavesTheOldFileOrTheNewOneAndTheNextSaveClearsUp) {
  support::TempFolder dir;
  const fs::path file = dir.path() / "Sonvero.ini";
  writeBytes(file, kOld + std::string(100000, ';') + "\r\n");
  const std::string old = readBytes(file);
  const auto save = [&](const char* value) {
    tk::PrivateProfile profile = tk::PrivateProfile::load(file);
    for (const char* key : {"VU - SS", "Beat-Tool", "VU - Mute"}) profile.set("Einstellungen", key, value);
    return profile.save();
  };
  dieAt = GetParam();
  const pid_t child = ::fork();
  if (child == 0) {
    tk::setReplaceStepHook(&dieHere);
    save("7");
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  const std::string after = readBytes(file);
  if (GetParam() == tk::ReplaceStep::Renamed) {
    for (const char* key : {"VU - SS", "Beat-Tool", "VU - Mute"})
      EXPECT_EQ(tk::getPrivateProfileString("Einstellungen", key, "", 1280, file), "7") << key;
  } else {
    EXPECT_EQ(after, old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2) << "the killed save's temporary file";
  }
  ASSERT_TRUE(save("8").ok);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1) << "a temporary file left";
}

INSTANTIATE_TEST_SUITE_P(SafeFile, KilledSave,
                         ::testing::Values(tk::ReplaceStep::TemporaryCreated, tk::ReplaceStep::Written,
                                           tk::ReplaceStep::Synced, tk::ReplaceStep::Renamed));

// A disk that fills up (here: the file size limit) while the new file is
// written.
TEST(SafeFile, AWriteThatRunsOutOfSpaceLeavesTheOldFileWhole) {
  support::TempFolder dir;
  const fs::path file = dir.path() / "Sonvero.ini";
  writeBytes(file, kOld);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const tk::ReplaceResult result = tk::replaceFile(file, std::string(1000, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.reason.find("too large"), std::string::npos) << result.reason;
  EXPECT_EQ(readBytes(file), kOld);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1) << "a temporary file left";
}

}  // namespace
