#include "vantorhost/dmx/dmx_output.h"

#include "vantorhost/base/log.h"
#include "vantorhost/dmx/ola_output.h"
#include "vantorhost/dmx/ola_support.h"

namespace vantorhost {

namespace {

class NoOutput final : public DmxOutput {
 public:
  explicit NoOutput(std::string why) : why_(std::move(why)) {}
  void service(const ChannelBuffer&) override {}
  std::string status() const override { return "DMX: no output (monitor only)"; }
  DmxFacts facts() const override { return {DmxFacts::State::MonitorOnly, 1, {}, why_}; }

 private:
  std::string why_;
};

}  // namespace

std::unique_ptr<DmxOutput> makeDmxOutput(const HostOptions& options) {
  if (options.dmx == "none") return std::make_unique<NoOutput>("--dmx none");
  std::string why;
  const OlaConnect connectTo = olaSupport(why);
  if (!connectTo) {
    hostLog("DMX: OLA support could not be loaded (" + why + "); no DMX output");
    return std::make_unique<NoOutput>("OLA support could not be loaded");
  }
  const auto port = static_cast<std::uint16_t>(options.olaPort);
  OlaLinkFactory connect = [port, connectTo] { return connectTo(port, true); };
  if (options.dmx == "auto" && !connect().link) {
    hostLog("DMX: no olad answers on port " + std::to_string(port) + "; no DMX output (--dmx ola keeps trying)");
    return std::make_unique<NoOutput>("no olad answered at start");
  }
  return std::make_unique<OlaOutput>(static_cast<unsigned>(options.universe), std::move(connect));
}

}  // namespace vantorhost
