#pragma once
// A sine written as a 16-bit stereo WAV file, for tests that play audio of
// a known level through the bridge.
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>

namespace support {

// `seconds` of a sine of `hz` at `rmsDb` dBFS RMS on both sides, 48 kHz.
inline void writeSineWav(const std::filesystem::path& file, double hz, double rmsDb, double seconds) {
  constexpr std::uint32_t kRate = 48000;
  const auto frames = static_cast<std::uint32_t>(seconds * kRate);
  const std::uint32_t bytes = frames * 4;
  std::string wav = "RIFF";
  const auto put = [&](std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) wav += static_cast<char>(v >> (8 * i) & 0xff);
  };
  put(36 + bytes, 4);
  wav += "WAVEfmt ";
  put(16, 4), put(1, 2), put(2, 2), put(kRate, 4), put(kRate * 4, 4), put(4, 2), put(16, 2);
  wav += "data";
  put(bytes, 4);
  const double amplitude = std::pow(10.0, rmsDb / 20.0) * std::numbers::sqrt2 * 32767.0;
  for (std::uint32_t i = 0; i < frames; ++i) {
    const auto sample = static_cast<std::int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * hz * i / kRate)));
    put(static_cast<std::uint16_t>(sample), 2);
    put(static_cast<std::uint16_t>(sample), 2);
  }
  std::ofstream(file, std::ios::binary) << wav;
}

}  // namespace support
