#include "vantorhost/program/command_line.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <string>

#include "files/printable.h"
#include "toolkit/version.h"
#include "vantorhost/base/gain_choice.h"
#include "vantorhost/run/host_settings.h"

namespace vantorhost {

namespace {

// A whole number in decimal within lo..hi (and a multiple of `step`),
// handed on written plainly: CLI11 reads numbers as C does, 010 as eight
// and 0x10 as sixteen, so its own reading must only ever see plain
// decimal. `rule` says what the option takes.
CLI::Validator decimal(long long lo, long long hi, long long step, const std::string& rule) {
  return CLI::Validator(
      [=](std::string& text) {
        long long n = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (error != std::errc() || end != text.data() + text.size())
          return rule + ", a whole number in decimal (not " + files::printable(text) + ")";
        if (n < lo || n > hi || n % step != 0) return rule;
        text = std::to_string(n);
        return std::string();
      },
      rule);
}

CLI::Validator notEmpty(const std::string& what) {
  return CLI::Validator([=](std::string& text) { return text.empty() ? what + " is empty" : std::string(); },
                        "not empty");
}

}  // namespace

std::optional<int> readCommandLine(int argc, const char* const* argv, HostOptions& options) {
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
      ->transform(decimal(0, 2147483646, 1, "0..2147483646"));
  cli.add_option("--ola-port", options.olaPort, "olad's RPC port")->transform(decimal(1, 65535, 1, "1..65535"));
  cli.add_option("--settings-dir", options.settingsDir, "folder that holds Sonvero.ini");
  cli.add_option("--plugin", options.pluginPath, "the plug-in library to load");
  CLI::Option* show =
      cli.add_option("--show", options.showPath, "start with this show instead of the last design (Sonvero.show)")
          ->check(notEmpty("the show's name"));
  cli.add_flag("--no-show", options.noShow, "start with an empty design instead of the last one")->excludes(show);
  cli.add_option("--delay", options.delayMs, "hold the DMX output back by MS (0..500, in steps of 5) to line light up with the speakers")
      ->type_name("MS")
      ->transform(decimal(0, kMaxDelayMs, kDelayStepMs, "0..500 in steps of 5"));
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
                if (parseGainChoice(text)) return std::string();
                return std::string(kGainChoiceHint) + ", not \"" + files::printable(text) + "\"";
              },
              "-12..36"));
  cli.add_flag("--link", options.link,
               "join the Ableton Link session on the local network (live runs: also when the host window kept it on)");
  cli.add_flag("--list-sources", listSources, "list the capture sources of the sound server");
  cli.add_flag("--list-bins", listBins, "list each spectrum pixel's frequency range");
  // A script starts from nothing and keeps nothing: it says what it opens.
  script->excludes(show);
  script->excludes("--no-show");
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return cli.exit(e);
  }
  if (gain->count()) options.gain = parseGainChoice(gainText);

  if (listSources) options.mode = HostOptions::Mode::ListSources;
  else if (listBins) options.mode = HostOptions::Mode::ListBins;
  else if (!options.scriptPath.empty()) options.mode = HostOptions::Mode::Script;
  else if (headless) options.mode = HostOptions::Mode::Headless;
  return std::nullopt;
}

}  // namespace vantorhost
