// Moving a file the program cannot use out of its way: under a name that
// says why and when, never over another file, and not at all where the
// folder forbids it.
#include <gtest/gtest.h>

#include <filesystem>

#include "files/set_aside.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

TEST(SetAside, MovesAFileUnderANameOfItsOwnAndNeverOverAnother) {
  support::TempFolder dir;
  const fs::path file = dir.path() / "Sonvero.show";
  std::vector<fs::path> moved;
  for (const std::string bytes : {"first", "second", "third"}) {
    support::writeBytes(file, bytes);
    const files::SetAside aside = files::setAside(file, "unreadable");
    ASSERT_TRUE(aside) << aside.reason;
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(support::readBytes(aside.to), bytes);
    EXPECT_TRUE(aside.to.filename().string().starts_with("Sonvero.show.unreadable-2")) << aside.to;
    moved.push_back(aside.to);
  }
  // All three are there still, each with its own bytes.
  EXPECT_EQ(support::readBytes(moved[0]), "first");
  EXPECT_EQ(support::readBytes(moved[1]), "second");
  EXPECT_EQ(support::readBytes(moved[2]), "third");
  EXPECT_NE(moved[0], moved[1]);
  EXPECT_NE(moved[1], moved[2]);
}

TEST(SetAside, AFolderThatCannotBeWrittenKeepsTheFileWhereItIs) {
  support::TempFolder dir;
  const fs::path file = dir.path() / "Sonvero.show";
  support::writeBytes(file, "kept");
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                  fs::perms::others_exec);
  support::Unprivileged user;
  ASSERT_TRUE(user.ok());
  const files::SetAside aside = files::setAside(file, "unreadable");
  EXPECT_FALSE(aside);
  EXPECT_NE(aside.reason.find("Sonvero.show"), std::string::npos) << aside.reason;
  EXPECT_EQ(support::readBytes(file), "kept");
}
