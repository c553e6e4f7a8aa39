#pragma once
// Test signals made by sox in a private temporary folder: -R (repeatable
// noise) and -D (no dither), so every run gets the same samples.
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "tests/support/temp_folder.h"

class SoxSignals {
 public:
  // `effects` follows the output file name ("synth 1 sine 1000 gain -20").
  std::string make(const std::string& name, const std::string& effects, int channels = 2, int rate = 48000) {
    const std::string command = "sox -R -D -n -r " + std::to_string(rate) + " -b 16 -c " + std::to_string(channels) +
                                " '" + folder() + "/" + name + "' " + effects + " 2>/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("sox failed: " + command);
    return folder() + "/" + name;
  }
  // A file with exactly these bytes (for damaged input).
  std::string write(const std::string& name, const std::string& bytes) {
    support::writeBytes(folder() + "/" + name, bytes);
    return folder() + "/" + name;
  }
  std::string folder() const { return dir_.path().string(); }

 private:
  support::TempFolder dir_;
};
