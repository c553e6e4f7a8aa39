// The fixture library over real folders (Sonvero's own definitions: golden
// fixtures_shipped).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/host/fixture_definitions.h"
#include "tests/support/temp_folder.h"
#include "vantorhost/fixtures/fixture_library.h"

using namespace vantorhost;
using fixtures_test::channel;
using fixtures_test::mode;
using fixtures_test::qxf;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> names(const std::vector<const LibraryEntry*>& found) {
  std::vector<std::string> out;
  for (const LibraryEntry* e : found) out.push_back(e->manufacturer + "/" + e->model);
  return out;
}

class FixtureLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(user() / "Mine");
    fs::create_directories(system() / "Generic");
    const std::string red = channel("Red", "IntensityRed") + mode("1ch", {"Red"});
    const std::string rgb = channel("Red", "IntensityRed") + channel("Green", "IntensityGreen") +
                            channel("Blue", "IntensityBlue") + mode("3ch", {"Red", "Green", "Blue"});
    support::writeBytes(system() / "Generic" / "Generic-RGB.qxf", qxf("Generic", "RGB Par", rgb));
    support::writeBytes(system() / "Generic" / "Generic-Red.QXF", qxf("Generic", "Red Par", red));
    support::writeBytes(system() / "Generic" / "Bar.qxf", qxf("Acme", "LED Bar 240/8", red));
    support::writeBytes(system() / "Generic" / "Inch.qxf", qxf("Acme", "10&quot; Bar", red));
    support::writeBytes(system() / "Generic" / "broken.qxf", "<FixtureDefinition><Manufacturer>");
    support::writeBytes(system() / "Generic" / "body-broken.qxf",
                        qxf("Acme", "Broken Body", red).substr(0, 400) + "<<<");
    support::writeBytes(system() / "Generic" / "notes.txt", "not a definition");
    // The user's own RGB Par replaces the installed one: one mode more.
    support::writeBytes(user() / "Mine" / "rgb.qxf", qxf("Generic", "RGB Par", rgb + mode("red only", {"Red"})));
    ::mkfifo((user() / "fifo.qxf").c_str(), 0644);
  }
  fs::path user() const { return root_.path() / "user"; }
  fs::path system() const { return root_.path() / "system"; }

  support::TempFolder root_;
};

TEST_F(FixtureLibraryTest, TheUsersFolderWinsAndWhatCannotBeReadIsSkippedWithItsFileNamed) {
  FixtureLibrary library({user(), root_.path() / "missing", system()});
  testing::internal::CaptureStderr();
  const std::vector<LibraryEntry>& entries = library.entries();
  const std::string log = testing::internal::GetCapturedStderr();
  std::vector<std::string> listed;
  for (const LibraryEntry& e : entries) listed.push_back(e.manufacturer + "/" + e.model);
  EXPECT_EQ(listed, (std::vector<std::string>{"Acme/10\" Bar", "Acme/Broken Body", "Acme/LED Bar 240/8",
                                              "Generic/Red Par", "Generic/RGB Par"}));
  ASSERT_EQ(library.skipped().size(), 2u);
  EXPECT_EQ(library.skipped()[0].file, user() / "fifo.qxf");
  EXPECT_EQ(library.skipped()[1].file, system() / "Generic" / "broken.qxf");
  EXPECT_NE(log.find("fixtures: skipped " + (system() / "Generic" / "broken.qxf").string() + ": not well-formed XML"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find((user() / "fifo.qxf").string()), std::string::npos) << log;

  const auto rgb = library.find("Generic", "RGB Par");
  ASSERT_TRUE(rgb);
  EXPECT_EQ(rgb->modes.size(), 2u) << "the user's definition";
  EXPECT_EQ(library.find("Generic", "RGB Par"), rgb) << "read once";
  EXPECT_TRUE(library.find("Acme", "10\" Bar")) << "named with an entity: read whole at the index";
  EXPECT_FALSE(library.find("Generic", "Blue Par"));

  // A file whose first lines are fine but the rest is not: skipped when it is read, once.
  testing::internal::CaptureStderr();
  EXPECT_FALSE(library.find("Acme", "Broken Body"));
  EXPECT_FALSE(library.find("Acme", "Broken Body"));
  const std::string later = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(later.begin(), later.end(), '\n'), 1) << later;
  EXPECT_EQ(library.skipped().size(), 3u);
}

TEST_F(FixtureLibraryTest, SearchFindsEveryWordInManufacturerAndModel) {
  FixtureLibrary library({user(), system()});
  testing::internal::CaptureStderr();
  const struct {
    const char* text;
    std::vector<std::string> found;
  } cases[] = {
      {"", {"Acme/10\" Bar", "Acme/Broken Body", "Acme/LED Bar 240/8", "Generic/Red Par", "Generic/RGB Par"}},
      {"par", {"Generic/Red Par", "Generic/RGB Par"}},
      {"PAR gen", {"Generic/Red Par", "Generic/RGB Par"}},
      {"generic/rgb", {"Generic/RGB Par"}},
      {"240/8", {"Acme/LED Bar 240/8"}},
      {"  bar\tacme ", {"Acme/10\" Bar", "Acme/LED Bar 240/8"}},
      {"acme rgb", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(names(library.search(c.text)), c.found) << c.text;
  EXPECT_EQ(names(library.search("a", 2)), (std::vector<std::string>{"Acme/10\" Bar", "Acme/Broken Body"}));
  testing::internal::GetCapturedStderr();
}

TEST(FixtureLibrary, NothingIsReadBeforeItIsAskedFor) {
  support::TempFolder folder;
  FixtureLibrary library({folder.path()});
  support::writeBytes(folder.path() / "late.qxf", qxf("M", "Late", channel("Red", "IntensityRed") + mode("1ch", {"Red"})));
  EXPECT_TRUE(library.find("M", "Late")) << "the folder is read at the first question, not when the library is made";
}

// A show's fixture at the start: the open library (the last folder) is not
// read whole when the fixture lies where its makers keep it.
TEST(FixtureLibrary, AFixtureAtItsUsualPlaceIsFoundWithoutReadingTheWholeLibrary) {
  support::TempFolder mine, open;
  const std::string red = channel("Red", "IntensityRed") + mode("1ch", {"Red"});
  fs::create_directories(open.path() / "American_DJ");
  support::writeBytes(open.path() / "American_DJ" / "American-DJ-Par-64-RGB-2.0.qxf", qxf("American DJ", "Par 64 RGB/2.0", red));
  // Named as another fixture's usual place: found through the index.
  support::writeBytes(open.path() / "American_DJ" / "American-DJ-Spot.qxf", qxf("American DJ", "Wash", red));
  support::writeBytes(open.path() / "broken.qxf", "<FixtureDefinition>");
  support::writeBytes(mine.path() / "spot.qxf", qxf("American DJ", "Spot", red + mode("2", {"Red"})));
  FixtureLibrary library({mine.path(), open.path()});
  testing::internal::CaptureStderr();
  EXPECT_TRUE(library.find("American DJ", "Par 64 RGB/2.0"));
  EXPECT_EQ(library.find("American DJ", "Spot")->modes.size(), 2u) << "the user's own wins over the usual place";
  EXPECT_TRUE(library.skipped().empty()) << "the open library was not read whole";
  EXPECT_TRUE(library.find("American DJ", "Wash"));
  EXPECT_EQ(library.skipped().size(), 1u) << "now it was";
  testing::internal::GetCapturedStderr();
}

}  // namespace
