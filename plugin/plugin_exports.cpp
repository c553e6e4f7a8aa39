// The plug-in library's exported entry points.
#include "plugin/clsVantorPlugIn.h"
#include "interface/plugin_diagnostics.h"
#include "hostlink/vantor.h"
#include "model/arrays.h"

#define SONVERO_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

class Diagnostics final : public IPluginDiagnostics {
 public:
  void writeBar(int slot, std::int16_t fromPixel, std::int16_t toPixel, std::int16_t boostPercent,
                std::int16_t threshold, std::uint8_t setOnExceed, std::int16_t setValue) override {
    Arrays::Bar& bar = Arrays::bars[slot];
    bar.number = static_cast<std::int16_t>(slot + 1);
    bar.fromPixel = fromPixel;
    bar.toPixel = toPixel;
    bar.channelSummary = Arrays::channelSummary(Arrays::barChannels[slot]);
    bar.boostPercent = boostPercent;
    bar.threshold = threshold;
    bar.setOnExceed = setOnExceed;
    bar.setValue = setValue;
  }
  void clearBar(int slot) override { Arrays::clearBar(slot); }
  void writeList(int id, int slot, const std::vector<std::int16_t>& entries) override {
    Arrays::ChannelList* list = Arrays::listById(id, slot);
    if (!list) return;
    list->fill(0);
    for (size_t i = 0; i < entries.size() && i < Arrays::kListEntries; ++i) (*list)[i + 1] = entries[i];
  }
  DiagnosticsBar readBar(int slot) override {
    const Arrays::Bar& b = Arrays::bars[slot];
    return {b.number, b.fromPixel, b.toPixel, b.channelSummary, b.boostPercent, b.threshold, b.setOnExceed, b.setValue};
  }
  std::vector<std::int16_t> readList(int id, int slot) override {
    std::vector<std::int16_t> out;
    if (const Arrays::ChannelList* list = Arrays::listById(id, slot))
      Arrays::forEachChannel(*list, [&](std::int16_t c) { out.push_back(c); });
    return out;
  }
  void outputChannel(std::int32_t channel, std::int32_t value, std::uint8_t active) override {
    Arrays::dmxOutputActive = active;
    Vantor::OutputChannel(channel, value);
  }
};

}  // namespace

SONVERO_EXPORT VantorTypeLib::IPlugInObject* VantorCreatePlugIn() { return new clsVantorPlugIn(); }

SONVERO_EXPORT IPluginDiagnostics* VantorPlugInDiagnostics() {
  static Diagnostics diagnostics;
  return &diagnostics;
}
