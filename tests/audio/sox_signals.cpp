#include "tests/audio/sox_signals.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

SoxSignals::SoxSignals() {
  std::string pattern = (std::filesystem::temp_directory_path() / "sonvero-signals-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  folder_ = pattern;
}

SoxSignals::~SoxSignals() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string SoxSignals::make(const std::string& name, const std::string& effects, int channels, int rate) {
  const std::string path = folder_ + "/" + name;
  const std::string command = "sox -R -D -n -r " + std::to_string(rate) + " -b 16 -c " + std::to_string(channels) +
                              " '" + path + "' " + effects + " 2>/dev/null";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("sox failed: " + command);
  return path;
}

std::string SoxSignals::write(const std::string& name, const std::string& bytes) {
  const std::string path = folder_ + "/" + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}
