// Every definition of the open fixture library, when installed (qlcplus-data).
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <set>

#include "vantorhost/fixtures/channel_role.h"
#include "vantorhost/fixtures/fixture_folders.h"
#include "vantorhost/fixtures/fixture_library.h"
#include "vantorhost/fixtures/qxf_reader.h"

using namespace vantorhost;
namespace fs = std::filesystem;

namespace {

TEST(InstalledFixtures, EveryDefinitionIsReadOrSkippedWithItsFileNamed) {
  const fs::path folder = kOpenFixtureLibrary;
  if (!fs::is_directory(folder)) GTEST_SKIP() << "qlcplus-data is not installed";
  std::size_t files = 0, read = 0, modes = 0;
  std::map<std::string, std::vector<fs::path>> skipped;  // by reason, without the mode's name
  std::set<std::pair<std::string, std::string>> names;   // of those read
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.path().extension() != ".qxf") continue;
    ++files;
    const DefinitionRead result = readDefinitionFile(entry.path());
    if (!result.definition) {
      EXPECT_FALSE(result.reason.empty()) << entry.path();
      skipped[result.reason.substr(0, result.reason.find(" \""))].push_back(entry.path());
      continue;
    }
    ++read;
    names.emplace(result.definition->manufacturer, result.definition->model);
    for (const FixtureMode& m : result.definition->modes) {
      ++modes;
      EXPECT_EQ(modeRoles(*result.definition, m).size(), m.channels.size()) << entry.path();
    }
  }
  std::cout << "open fixture library: " << files << " definitions, " << read << " read (" << modes << " modes), "
            << files - read << " skipped\n";
  for (const auto& [reason, paths] : skipped) {
    std::cout << "  " << paths.size() << " skipped: " << reason << "\n";
    for (const fs::path& p : paths) std::cout << "    " << p.string() << "\n";
  }
  ASSERT_GT(files, 0u);
  // The library as the program uses it finds each one that reads.
  FixtureLibrary library({folder});
  testing::internal::CaptureStderr();
  std::size_t found = 0;
  for (const LibraryEntry& entry : library.entries()) found += library.find(entry.manufacturer, entry.model) != nullptr;
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(found, names.size());
  EXPECT_EQ(library.skipped().size(), files - read);
}

}  // namespace
