#pragma once
// Module modVbVis10: the spectrum and the side levels from the bridge.
#include <cstdint>
#include <span>

namespace modVbVis10 {

// Reads the spectrum with the bridge's two calls (the size with side 0,
// then the text for `side`) and decodes two hexadecimal digits per bin.
// The bins stay valid until the next call. A count outside 0..16383 reads
// as no bins.
std::span<const std::uint8_t> GetSpectrum(std::int32_t& side);
// The side's level; a negative level reads as 0.
std::int16_t GetVU(std::int32_t& side);

// One bin from its two characters: blanks are skipped, digits of either
// case count, reading stops at the first other character; no digit gives 0.
std::uint8_t decodeHexPair(char first, char second);

}  // namespace modVbVis10
