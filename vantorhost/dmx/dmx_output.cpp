#include "vantorhost/dmx/dmx_output.h"

#include "vantorhost/base/log.h"
#include "vantorhost/dmx/ola_output.h"
#include "vantorhost/dmx/ola_support.h"

namespace vantorhost {

namespace {

class NoOutput final : public DmxOutput {
 public:
  NoOutput(std::string why, std::string remedy) : why_(std::move(why)), remedy_(std::move(remedy)) {}
  void service(const ChannelBuffer&) override {}
  std::string status() const override { return "DMX: no output (monitor only)"; }
  DmxFacts facts() const override { return {DmxFacts::State::MonitorOnly, 1, {}, why_, remedy_}; }

 private:
  std::string why_, remedy_;
};

}  // namespace

std::unique_ptr<DmxOutput> makeDmxOutput(const HostOptions& options) {
  if (options.dmx == "none")
    return std::make_unique<NoOutput>("--dmx none", "start Sonvero without --dmx none to send to OLA");
  std::string why;
  const OlaConnect connectTo = olaSupport(why);
  if (!connectTo) {
    hostLog("DMX: OLA support could not be loaded (" + why + "); no DMX output");
    return std::make_unique<NoOutput>("OLA support could not be loaded", "install the ola package and start again");
  }
  const auto port = static_cast<std::uint16_t>(options.olaPort);
  OlaLinkFactory connect = [port, connectTo] { return connectTo(port, true); };
  // --dmx auto without an olad: the monitor only, for now. The output goes
  // on looking without a word and takes olad as soon as it answers.
  const bool look = options.dmx == "auto" && !connect().link;
  if (look)
    hostLog("DMX: no olad answers on port " + std::to_string(port) +
            " yet; the DMX monitor is the only output until it does, and Sonvero looks for it every second");
  return std::make_unique<OlaOutput>(static_cast<unsigned>(options.universe), std::move(connect), look);
}

}  // namespace vantorhost
