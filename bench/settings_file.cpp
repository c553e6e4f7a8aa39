// Opening and closing the main window with a 50 MB settings file: the 22
// keys of "Einstellungen" behind 1.3 million lines of other sections (the
// worst place for them). load_settings reads the file once and looks the
// keys up; save_settings reads it once, changes it in memory and writes it
// once (temporary file, fsync, rename, folder fsync: the disk of the temp
// folder counts, SONVERO_BENCH_DIR chooses another).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "model/settings.h"
#include "tests/support/temp_folder.h"
#include "ui/Main.h"

namespace {

constexpr std::size_t kFileBytes = std::size_t{50} << 20;

std::string bigSettingsFile() {
  std::string text;
  text.reserve(kFileBytes + 4096);
  for (int n = 0; text.size() < kFileBytes; ++n) {
    if (n % 1000 == 0) text += "[Andere Sektion " + std::to_string(n / 1000) + "]\r\n";
    else text += "Eintrag" + std::to_string(n) + "=Wert " + std::to_string(n) + " abcdefghijklmnopqrstuvwxyz\r\n";
  }
  text += "[Einstellungen]\r\n";
  for (const Settings::Key& key : Settings::kKeys)
    text += std::string(key.name == "VU - b\xC3\x9Csa" ? "VU - b\xDCsa" : key.name) + "=" + std::string(key.defaultText) + "\r\n";
  return text;
}

// A folder with the file, shared by both benchmarks.
class BigFile {
 public:
  BigFile() {
    if (const char* dir = std::getenv("SONVERO_BENCH_DIR")) ::setenv("TMPDIR", dir, 1);
    folder_ = std::make_unique<support::TempFolder>();
    ::setenv("SONVERO_SETTINGS_DIR", folder_->path().c_str(), 1);
    support::writeBytes(Settings::filePath(), bigSettingsFile());
  }
  std::size_t bytes() const { return std::filesystem::file_size(Settings::filePath()); }

 private:
  std::unique_ptr<support::TempFolder> folder_;
};

BigFile& bigFile() {
  static BigFile file;
  return file;
}

void LoadSettingsFromA50MBFile(benchmark::State& state) {
  const std::size_t bytes = bigFile().bytes();
  Main& m = mainForm();
  for (auto _ : state) m.load_settings();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(LoadSettingsFromA50MBFile)->Unit(benchmark::kMillisecond);

void SaveSettingsIntoA50MBFile(benchmark::State& state) {
  const std::size_t bytes = bigFile().bytes();
  Main& m = mainForm();
  m.load_settings();
  for (auto _ : state) {
    m.VScroll6.setValue(m.VScroll6.value() == 1 ? 2 : 1);  // a change each time
    m.save_settings();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(SaveSettingsIntoA50MBFile)->Unit(benchmark::kMillisecond);

}  // namespace
