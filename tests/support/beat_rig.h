#pragma once
// Headless Sonvero processes side by side, each sending to a universe of its
// own on one private olad, and the beats' lights as they arrive there.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/dmx_watcher.h"
#include "tests/support/olad_process.h"
#include "tests/support/temp_folder.h"

namespace support {

class BeatRig {
 public:
  explicit BeatRig(std::string sonvero) : sonvero_(std::move(sonvero)) {}
  ~BeatRig();
  BeatRig(const BeatRig&) = delete;
  BeatRig& operator=(const BeatRig&) = delete;

  bool startOlad() { return olad_.start(); }
  // Starts Sonvero `name` with a show of `showLines` (and "DMX-Ausgabe aktiv"
  // ticked, which the beats obey) sending to `universe`; watches `channel`.
  bool start(const std::string& name, unsigned universe, const std::string& showLines,
             const std::vector<std::string>& args, unsigned channel = 1);
  // Stops it as Ctrl-C would; its exit status.
  int stop(const std::string& name);

  // Waits until its log holds `text`; false when it ends or `limit` passes first.
  bool waitForLog(const std::string& name, const std::string& text, std::chrono::milliseconds limit);
  std::string log(const std::string& name) const;
  // When the watched channel's light arrived at olad from `fromNs` on, steady
  // clock in nanoseconds.
  std::vector<std::int64_t> arrivals(const std::string& name, std::int64_t fromNs = 0);

 private:
  struct Machine {
    std::filesystem::path dir;
    std::unique_ptr<DmxWatcher> watcher;
    ChildProcess process;
  };
  std::string sonvero_;
  TempFolder folder_;
  OladProcess olad_;
  std::map<std::string, std::unique_ptr<Machine>> machines_;
};

}  // namespace support
