// The gain as users write it (command line, Sonvero.host, scripts).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

#include "vantorhost/base/gain_choice.h"

using namespace vantorhost;

namespace vantorhost {
// Failures name the choice as users write it.
void PrintTo(const GainChoice& choice, std::ostream* out) { *out << gainChoiceText(choice); }
}  // namespace vantorhost

namespace {

TEST(GainChoice, ReadsAutoAndPlainDecimalNumbersWithinRange) {
  EXPECT_EQ(parseGainChoice("auto"), (GainChoice{true, 0.0}));
  for (auto [text, db] : {std::pair{"0", 0.0}, {"6", 6.0}, {"-3.5", -3.5}, {"+0.25", 0.25}, {"-12", -12.0},
                          {"36", 36.0}, {"36.000", 36.0}, {"010", 10.0}, {"-011.50", -11.5}, {".5", 0.5}, {"5.", 5.0}})
    EXPECT_EQ(parseGainChoice(text), (GainChoice{false, db})) << text;
  for (const char* bad : {"", "Auto", "AUTO", "auto ", " 6", "6 ", "36.01", "-12.5", "37", "1e1", "1E1", "0x5",
                          "inf", "-inf", "nan", "NaN", "+-1", "--1", "++1", "1.2.3", ".", "-", "+", "6dB", "6,5",
                          "99", "1000000000000000000000000"})
    EXPECT_EQ(parseGainChoice(bad), std::nullopt) << bad;
  // One rule for every length: the number as written lies in range or not,
  // whatever the nearest double makes of it.
  const std::string zeros(400, '0');
  for (auto [text, db] : {std::pair{"36." + zeros, 36.0}, {"-12." + zeros, -12.0}, {zeros + "36", 36.0},
                          {"0." + zeros + "1", 0.0}, {"-0." + zeros + "1", 0.0}, {"35." + std::string(400, '9'), 36.0}})
    EXPECT_EQ(parseGainChoice(text), (GainChoice{false, db})) << text.substr(0, 8) << "... " << text.size();
  for (const std::string& bad : {"36." + zeros + "1", "-12." + zeros + "1", "1" + zeros, std::string("36.000000000000000000001")})
    EXPECT_EQ(parseGainChoice(bad), std::nullopt) << bad.substr(0, 8) << "... " << bad.size();
}

TEST(GainChoice, WritesWhatItReadsBackAndNeverAMinusZero) {
  for (const GainChoice choice : {GainChoice{true, 0.0}, GainChoice{false, 0.0}, GainChoice{false, -12.0},
                                  GainChoice{false, 36.0}, GainChoice{false, 6.25}, GainChoice{false, 0.1},
                                  GainChoice{false, -3.3}})
    EXPECT_EQ(parseGainChoice(gainChoiceText(choice)), choice) << gainChoiceText(choice);
  EXPECT_EQ(gainChoiceText({false, -0.0}), "0");
  EXPECT_FALSE(std::signbit(parseGainChoice("-0")->fixedDb)) << "-0 is 0 dB";
  for (auto [db, text] : {std::pair{23.64, "23.6"}, {-0.04, "0.0"}, {-0.0, "0.0"}, {-0.05000001, "-0.1"},
                          {std::numeric_limits<double>::quiet_NaN(), "0.0"}})
    EXPECT_EQ(decibelText(db), text) << db;
}

}  // namespace
