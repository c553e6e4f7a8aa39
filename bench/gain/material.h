#pragma once
#include <string>
#include <vector>

#include "bench/gain/grooves.h"

namespace gainbench {

// Audio to measure the gain on, made in `folder` with fluidsynth and sox:
// 48 kHz stereo WAV of 32-bit floats, so no level clips, each brought to a
// known RMS (over the whole file and both sides, dBFS). Throws
// std::runtime_error when a tool fails.
class Material {
 public:
  explicit Material(std::string folder) : folder_(std::move(folder)) {}

  // The groove rendered with its soundfont.
  std::string groove(const Groove& groove, double seconds, double rmsDb);
  // A kick, bass and hat pattern made by sox alone, 120 BPM.
  std::string pattern(double seconds, double rmsDb);
  std::string pinkNoise(double seconds, double rmsDb);
  // A 2 ms click (1 kHz square) at `bpm`, its peak at `peakDb`.
  std::string clicks(double bpm, double seconds, double peakDb);
  // `file` with its RMS moved to rmsDb; `seconds` from its start (0: whole).
  std::string atLevel(const std::string& file, double rmsDb, double seconds = 0);
  // `file` in pieces of `seconds`, each moved by its gain in dB: a level
  // that steps while the music goes on.
  std::string stepped(const std::string& file, const std::vector<double>& gainsDb, double seconds);
  // The files one after another.
  std::string joined(const std::vector<std::string>& files, const std::string& name);

  static double rmsDb(const std::string& file);

 private:
  std::string path(const std::string& name) const { return folder_ + "/" + name; }
  std::string folder_;
  int made_ = 0;
};

// Runs a shell command; throws when it fails.
void run(const std::string& command);

}  // namespace gainbench
