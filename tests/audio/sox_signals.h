#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

// Test signals made by sox in a private temporary folder: -R (repeatable
// noise) and -D (no dither), so every run gets the same samples.
class SoxSignals {
 public:
  SoxSignals() : folder_((std::filesystem::temp_directory_path() / "sonvero-signals-XXXXXX").string()) {
    if (!mkdtemp(folder_.data())) throw std::runtime_error("cannot make a temporary folder");
  }
  ~SoxSignals() { std::filesystem::remove_all(folder_, ignored_); }
  SoxSignals(const SoxSignals&) = delete;

  // `effects` follows the output file name ("synth 1 sine 1000 gain -20").
  std::string make(const std::string& name, const std::string& effects, int channels = 2, int rate = 48000) {
    const std::string command = "sox -R -D -n -r " + std::to_string(rate) + " -b 16 -c " + std::to_string(channels) +
                                " '" + folder_ + "/" + name + "' " + effects + " 2>/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("sox failed: " + command);
    return folder_ + "/" + name;
  }
  // A file with exactly these bytes (for damaged input).
  std::string write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ + "/" + name, std::ios::binary) << bytes;
    return folder_ + "/" + name;
  }
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
  std::error_code ignored_;
};
