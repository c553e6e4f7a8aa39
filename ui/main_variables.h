#pragma once
// Main's form variables: the engine's state between ticks. Zero when the
// window is created; kept across closing and reopening the window.
#include <array>
#include <cstdint>

#include "engine/spectrum.h"

struct MainVariables {
  std::int16_t timerInterval = 0;
  std::uint8_t blinkPhase = 0;
  std::int32_t selectedRow = 0;
  std::int32_t vuLeftValue = 0, vuRightValue = 0;
  std::int16_t vuThreshold = 0;
  std::int16_t vuSetValue = 0;
  std::int16_t beatVuThreshold = 0;
  std::uint8_t beatVuState = 0;
  std::int16_t drawLeft = 0, drawBase = 0, drawHeight = 0;
  std::int16_t lastPixel = 0;
  std::int16_t spectrumBoost = 0;
  std::int16_t spectrumThreshold = 0;
  std::int16_t spectrumSetValue = 0;
  std::array<std::int32_t, engine::kSpectrumPixels> pixelHeights{};
  std::int16_t beatPixel = 0;
  std::int16_t beatPixelThreshold = 0;
  std::uint8_t beatPixelState = 0;
  std::int16_t beatBarLevel = 0;
  std::int16_t barCount = 0;
  std::int16_t beatBarThreshold = 0;
  std::uint8_t beatBarState = 0;
  std::uint8_t beatVuArmed = 0, beatPixelArmed = 0, beatBarArmed = 0;
  // The Beat: Balken bar read from the settings file while fewer bars exist;
  // 0 when none waits. The tick restores it once the bar exists.
  std::int16_t pendingBeatBar = 0;
};
