// sonvero: the lighting host's stand-in. Loads the plug-in, hands it the
// helper object, shows its main window and drives it: on the desktop, headless
// on the real clock, or from a session script on simulated time.
#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdlib>
#include <iostream>

#include "toolkit/version.h"
#include "vantorhost/base/host_options.h"
#include "vantorhost/program/run_modes.h"
#include "vantorhost/run/host_settings.h"

int main(int argc, char** argv) {
  using vantorhost::HostOptions;
  HostOptions options;
  CLI::App cli{"Sonvero: sound-to-light for DMX lighting"};
  cli.set_version_flag("--version", "sonvero " SONVERO_VERSION);
  bool headless = false, listSources = false, listBins = false;
  cli.add_flag("--headless", headless, "run without windows on the real clock until interrupted");
  CLI::Option* script = cli.add_option("--script", options.scriptPath, "run a session script on simulated time")
                            ->check(CLI::ExistingFile);
  cli.add_option("--trace", options.tracePath, "write the script's trace here (default: standard output)");
  cli.add_option("--audio", options.audio, "audio source: pulse, pulse:NAME, file:PATH, demo, silence");
  cli.add_option("--dmx", options.dmx, "DMX output: ola or none (default: olad as soon as it answers)")
      ->check(CLI::IsMember({"ola", "none", "auto"}));
  cli.add_option("--universe", options.universe, "OLA universe for channels 1..512 (513..1024 go to the next)")
      ->check(CLI::Range(0, 2147483646));
  cli.add_option("--ola-port", options.olaPort, "olad's RPC port")->check(CLI::Range(1, 65535));
  cli.add_option("--settings-dir", options.settingsDir, "folder that holds Sonvero.ini");
  cli.add_option("--plugin", options.pluginPath, "the plug-in library to load");
  CLI::Option* show =
      cli.add_option("--show", options.showPath, "start with this show instead of the last design (Sonvero.show)");
  cli.add_flag("--no-show", options.noShow, "start with an empty design instead of the last one")->excludes(show);
  cli.add_option("--delay", options.delayMs, "hold the DMX output back by MS (0..500, in steps of 5) to line light up with the speakers")
      ->type_name("MS")
      ->check(CLI::Validator(
          [](std::string& ms) {
            long long n = -1;
            const auto [end, error] = std::from_chars(ms.data(), ms.data() + ms.size(), n);
            const bool ok = error == std::errc() && end == ms.data() + ms.size() && vantorhost::validDelay(n);
            return ok ? std::string() : std::string("0..500 in steps of 5");
          },
          "0..500 in steps of 5"));
  // Read as text and checked here, so "010" is ten and nothing but a plain
  // decimal number or "auto" gets through.
  std::string gainText;
  CLI::Option* gain =
      cli.add_option("--gain", gainText,
                     "the gain ahead of the analysis: auto, or fixed at DB decibels; live runs default to the host "
                     "window's choice, else auto, session scripts to 0")
          ->type_name("auto|DB")
          ->check(CLI::Validator(
              [](std::string& text) {
                if (vantorhost::parseGainChoice(text)) return std::string();
                return std::string(vantorhost::kGainChoiceHint) + ", not \"" + text + "\"";
              },
              "-12..36"));
  cli.add_flag("--list-sources", listSources, "list the capture sources of the sound server");
  cli.add_flag("--list-bins", listBins, "list each spectrum pixel's frequency range");
  // A script starts from nothing and keeps nothing: it says what it opens.
  script->excludes(show);
  script->excludes("--no-show");
  CLI11_PARSE(cli, argc, argv);
  if (gain->count()) options.gain = vantorhost::parseGainChoice(gainText);

  if (listSources) options.mode = HostOptions::Mode::ListSources;
  else if (listBins) options.mode = HostOptions::Mode::ListBins;
  else if (!options.scriptPath.empty()) options.mode = HostOptions::Mode::Script;
  else if (headless) options.mode = HostOptions::Mode::Headless;
  return vantorhost::runHost(options);
}
