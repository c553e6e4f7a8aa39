#include "vantorhost/dmx/dmx_output.h"

namespace {

class NoOutput final : public DmxOutput {
 public:
  void service(const ChannelBuffer&, std::int64_t) override {}
  std::string status() const override { return "DMX: no output (monitor only)"; }
};

}  // namespace

std::unique_ptr<DmxOutput> makeDmxOutput(const HostOptions&) { return std::make_unique<NoOutput>(); }
