#pragma once
#include <cstdint>

namespace tk {

// OLE_COLOR: 0x00BBGGRR, or a system colour with the high bit set.
using OleColor = std::uint32_t;

inline constexpr OleColor kRed = 255;
inline constexpr OleColor kGreen = 65280;
inline constexpr OleColor kBlack = 0;
inline constexpr OleColor kWhite = 0xFFFFFF;
inline constexpr OleColor kButtonFace = 0x8000000F;   // system colour 15
inline constexpr OleColor kWindowText = 0x80000012;
inline constexpr OleColor kGrey = 0x808080;

// The classic 16-colour palette entries the drawing uses.
inline constexpr OleColor kPalette0 = 0x000000;   // black
inline constexpr OleColor kPalette1 = 0x800000;   // dark blue (red 0, green 0, blue 128)
inline constexpr OleColor kPalette4 = 0x000080;   // dark red (red 128)
inline constexpr OleColor kPalette6 = 0x008080;   // olive (red 128, green 128)
inline constexpr OleColor kPalette10 = 0x00FF00;  // bright green

}  // namespace tk
