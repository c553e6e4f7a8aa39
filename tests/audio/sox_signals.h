#pragma once
#include <string>

// Test signals made by sox at test time in a private temporary folder:
// -R (repeatable noise) and -D (no dither), so every run gets the same
// samples.
class SoxSignals {
 public:
  SoxSignals();
  ~SoxSignals();
  SoxSignals(const SoxSignals&) = delete;
  SoxSignals& operator=(const SoxSignals&) = delete;

  // sox -n OUT synth ... : `effects` follows the output file name
  // ("synth 1 sine 1000 gain -20"). Returns the file's path.
  std::string make(const std::string& name, const std::string& effects, int channels = 2, int rate = 48000);
  // A file with exactly these bytes (for damaged input).
  std::string write(const std::string& name, const std::string& bytes);
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};
