#pragma once
// The user's choice for the gain ahead of the analysis, as the command line,
// the host settings file and session scripts write it: "auto", or a fixed
// gain in dB as a decimal number.
#include <optional>
#include <string>
#include <string_view>

namespace vantorhost {

// The bridge's range (VBVIS_GAIN_MIN_DB..VBVIS_GAIN_MAX_DB).
inline constexpr double kMinGainDb = -12.0, kMaxGainDb = 36.0;
// What a gain choice may be, for messages.
inline constexpr const char* kGainChoiceHint = "auto or a decimal number of dB from -12 to 36";

struct GainChoice {
  bool automatic = false;
  double fixedDb = 0.0;  // when not automatic
  bool operator==(const GainChoice&) const = default;
};

// "auto", or an optional sign, digits and at most one decimal point with
// digits around it ("6", "-3.5", "+0.25", "010" is ten) within
// kMinGainDb..kMaxGainDb as written, however many digits it has
// ("36.000…01" is not, "0.000…01" is); nothing for anything else
// (exponents, hex, "inf", "nan", blanks).
std::optional<GainChoice> parseGainChoice(std::string_view text);
// The text parseGainChoice reads back: "auto", or the shortest decimal that
// gives the same number ("6", "-3.5"; never "-0").
std::string gainChoiceText(const GainChoice& choice);
// The choice as the log names it: "automatic", "fixed at 6 dB".
std::string describeGain(const GainChoice& choice);
// A gain or level in dB with one decimal, as the user reads it ("12.3",
// "-3.0"; never "-0.0").
std::string decibelText(double db);

}  // namespace vantorhost
