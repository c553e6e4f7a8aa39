#include "tests/support/beat_rig.h"

#include <fstream>

namespace support {

BeatRig::~BeatRig() {
  for (auto& [name, machine] : machines_) machine->process.stop(SIGTERM);
}

bool BeatRig::start(const std::string& name, unsigned universe, const std::string& showLines,
                    const std::vector<std::string>& args, unsigned channel) {
  auto& machine = machines_[name];
  machine = std::make_unique<Machine>();
  machine->dir = folder_.path() / name;
  std::filesystem::create_directories(machine->dir);
  // "DMX-Ausgabe aktiv" ticked: the beat output obeys it as the plug-in does.
  std::ofstream(machine->dir / "start.show") << "# Sonvero show 1\nset Main.Check5 1\n" << showLines;
  machine->watcher = std::make_unique<DmxWatcher>(olad_.port(), universe, channel);
  if (!machine->watcher->start()) return false;
  std::vector<std::string> argv{sonvero_,          "--headless",         "--settings-dir", machine->dir.string(),
                                "--show",          (machine->dir / "start.show").string(),
                                "--dmx",           "ola",                "--ola-port",     std::to_string(olad_.port()),
                                "--universe",      std::to_string(universe)};
  argv.insert(argv.end(), args.begin(), args.end());
  const std::string log = (machine->dir / "log").string();
  return machine->process.start(argv, log, log);
}

int BeatRig::stop(const std::string& name) { return machines_.at(name)->process.stop(SIGTERM); }

std::string BeatRig::log(const std::string& name) const { return readBytes(machines_.at(name)->dir / "log"); }

bool BeatRig::waitForLog(const std::string& name, const std::string& text, std::chrono::milliseconds limit) {
  return machines_.at(name)->process.waitUntil([&] { return log(name).find(text) != std::string::npos; }, limit);
}

std::vector<std::int64_t> BeatRig::arrivals(const std::string& name, std::int64_t fromNs) {
  std::vector<std::int64_t> rises = machines_.at(name)->watcher->risesNs();
  std::erase_if(rises, [fromNs](std::int64_t at) { return at < fromNs; });
  return rises;
}

}  // namespace support
