// The patch (end to end: goldens fixtures_patch, fixtures_refused and fixtures_light).
#include <gtest/gtest.h>

#include "tests/host/fixture_definitions.h"
#include "vantorhost/fixtures/fixture_colour.h"
#include "vantorhost/fixtures/fixture_patch.h"

using namespace vantorhost;
using fixtures_test::channel;
using fixtures_test::mode;
using fixtures_test::qxf;

namespace {

class FixturePatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_.add(qxf("Acme", "Par", fixtures_test::parBody()));
    library_.add(qxf("Acme", "Head", fixtures_test::headBody(), "Moving Head"));
  }
  std::optional<std::string> place(const std::string& name, const std::string& model, const std::string& modeName,
                                   int address) {
    return patch_.place({name, "Acme", model, modeName, address}, library_);
  }
  std::vector<std::string> order() const {
    std::vector<std::string> names;
    for (const PatchedFixture& f : patch_.fixtures()) names.push_back(f.placement.name);
    return names;
  }

  fixtures_test::MemoryDefinitions library_;
  FixturePatch patch_;
};

TEST_F(FixturePatchTest, RefusedPlacementsSayWhyAndChangeNothing) {
  ASSERT_FALSE(place("par1", "Par", "4ch", 1));
  const struct {
    FixturePlacement placement;
    const char* reason;
  } cases[] = {
      {{"par2", "Acme", "Par", "4ch", 0}, "the address 0 lies outside 1..1024"},
      {{"par2", "Acme", "Par", "4ch", 1025}, "the address 1025 lies outside 1..1024"},
      {{"", "Acme", "Par", "4ch", 20}, "the fixture's name is empty"},
      {{"par \"2\"", "Acme", "Par", "4ch", 20}, "holds a double quote, which a show line cannot hold"},
      {{"par2", "Acme", "Par", "4\tch", 20}, "the mode holds a control character"},
      {{"par2", "Ac/me", "Par", "4ch", 20}, "the manufacturer \"Ac/me\" holds a '/'"},
      {{"par2", "Acme", "10\" Bar", "4ch", 20}, "the model \"10\" Bar\" holds a double quote"},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> why = patch_.place(c.placement, library_);
    ASSERT_TRUE(why) << c.reason;
    EXPECT_NE(why->find(c.reason), std::string::npos) << *why;
    EXPECT_EQ(order(), std::vector<std::string>{"par1"}) << c.reason;
  }
  // Moving par1 onto its own channels is no overlap.
  EXPECT_FALSE(place("par1", "Par", "4ch", 2));
  EXPECT_EQ(patch_.fixture("par1")->placement.address, 2);
  EXPECT_FALSE(patch_.channel(1).patched());
}

TEST_F(FixturePatchTest, RemovingAndTheNextFreeAddress) {
  ASSERT_FALSE(place("a", "Par", "4ch", 1));
  ASSERT_FALSE(place("b", "Par", "4ch", 9));
  ASSERT_FALSE(place("c", "Par", "4ch", 509));
  const struct {
    int count, from;
    std::optional<int> address;
  } cases[] = {
      {4, 1, 5}, {5, 1, 13}, {1, 9, 13}, {4, 506, 513}, {1, 1024, 1024}, {2, 1024, {}}, {513, 1, {}}, {0, 1, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(patch_.nextFreeAddress(c.count, c.from), c.address) << c.count << " from " << c.from;
  EXPECT_TRUE(patch_.remove("b"));
  EXPECT_FALSE(patch_.remove("b"));
  EXPECT_EQ(patch_.nextFreeAddress(5), 5);
  patch_.clear();
  EXPECT_TRUE(patch_.fixtures().empty());
  EXPECT_FALSE(patch_.channel(1).patched());
}

// The colour the monitor shows for a fixture; one without colours shows none.
TEST_F(FixturePatchTest, AFixturesColourIsItsColoursMixedUnderItsDimmer) {
  library_.add(qxf("Acme", "Pack", channel("D", "IntensityDimmer") + mode("1ch", {"D"}), "Dimmer"));
  library_.add(qxf("Acme", "Scanner", channel("Pan", "PositionPan") + mode("1ch", {"Pan"}), "Scanner"));
  ASSERT_FALSE(place("par", "Par", "4ch", 1));   // red, green, blue, dimmer
  ASSERT_FALSE(place("dim", "Pack", "1ch", 10));
  ASSERT_FALSE(place("scan", "Scanner", "1ch", 20));
  std::array<std::uint8_t, 1024> out{};
  const auto colour = [&](const char* name) { return fixtureColour(*patch_.fixture(name), out.data()); };
  // (Colours mixed under a dimmer: the DMX monitor's fixture test.)
  out = {200, 100, 50, 0};
  EXPECT_EQ(colour("par"), (Rgb{0, 0, 0})) << "a dimmer at 0 darkens the colours";
  out[9] = 64;
  EXPECT_EQ(colour("dim"), (Rgb{64, 64, 64})) << "a dimmer shows its level";
  EXPECT_FALSE(colour("scan"));
}

// A mode as wide as a universe fills one, and nothing else.
TEST_F(FixturePatchTest, AModeAsWideAsAUniverse) {
  std::string body;
  std::string modeXml = " <Mode Name=\"wide\">\n";
  for (int i = 0; i < 512; ++i) {
    body += channel("C" + std::to_string(i), "IntensityRed");
    modeXml += "  <Channel Number=\"" + std::to_string(i) + "\">C" + std::to_string(i) + "</Channel>\n";
  }
  library_.add(qxf("Acme", "Wall", body + modeXml + " </Mode>\n"));
  const std::optional<std::string> why = place("wall", "Wall", "wide", 2);
  ASSERT_TRUE(why);
  EXPECT_NE(why->find("\"wall\" at 2..513 runs from channel 512 into 513"), std::string::npos) << *why;
  EXPECT_FALSE(place("wall", "Wall", "wide", 513));
  EXPECT_FALSE(place("wall 2", "Wall", "wide", 1));
  EXPECT_EQ(patch_.nextFreeAddress(1), std::nullopt);
}

}  // namespace
