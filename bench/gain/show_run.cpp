#include "bench/gain/show_run.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "vantorhost/base/gain_choice.h"
#include "vantorhost/run/run_script.h"
#include "vantorhost/session/plugin_library.h"

namespace gainbench {

double ChannelValues::mean(int channel, std::int64_t fromMs) const {
  double sum = 0;
  int count = 0;
  if (auto it = ticks.find(channel); it != ticks.end())
    for (const auto& [ms, value] : it->second)
      if (ms > fromMs) sum += value, ++count;
  return count ? sum / count : 0.0;
}

int ChannelValues::highest(int channel, std::int64_t fromMs) const {
  int top = 0;
  if (auto it = ticks.find(channel); it != ticks.end())
    for (const auto& [ms, value] : it->second)
      if (ms > fromMs) top = std::max(top, value);
  return top;
}

ChannelValues runShow(const std::string& showPath, const std::string& uri, std::int64_t ms, bool automatic,
                      double fixedDb, const std::string& folder) {
  std::ifstream show(showPath);
  if (!show) throw std::runtime_error("cannot read " + showPath);
  const std::string script = folder + "/show.script";
  {
    std::ofstream out(script);
    // Every script starts at a fixed 0 dB: automatic starts from there.
    const vantorhost::GainChoice gain{automatic, automatic ? 0.0 : fixedDb};
    out << show.rdbuf() << "\ngain " << vantorhost::gainChoiceText(gain) << "\naudio " << uri << "\nadvance " << ms
        << "\n";
  }
  vantorhost::HostOptions options;
  options.mode = vantorhost::HostOptions::Mode::Script;
  options.scriptPath = script;
  options.tracePath = folder + "/show.trace";
  options.settingsDir = folder;
  options.pluginPath = vantorhost::defaultPluginPath();
  setenv("SONVERO_SETTINGS_DIR", folder.c_str(), 1);
  const int status = vantorhost::runScript(options);
  if (status != 0) throw std::runtime_error("the script run failed over " + uri);

  ChannelValues values;
  std::ifstream trace(options.tracePath);
  std::string line;
  while (std::getline(trace, line)) {
    std::istringstream words(line);
    std::int64_t time = 0;
    std::string what;
    int channel = 0, value = 0;
    if (words >> time >> what >> channel >> value && what == "SetChannel") values.ticks[channel].emplace_back(time, value);
  }
  return values;
}

}  // namespace gainbench
