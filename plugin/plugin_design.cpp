// The design the host reaches through the exported symbol: the tables and
// the main window's parameters, written and read as the dialogs and the
// settings file do, the main window's switches and the bar dialog's choice.
#include "plugin/plugin_design.h"

#include "hostlink/vantor.h"
#include "model/arrays.h"
#include "model/settings.h"
#include "toolkit/application.h"
#include "ui/Kanaele.h"
#include "ui/Main.h"
#include "ui/Presets_Channel.h"
#include "ui/bar_list.h"
#include "ui/main_settings.h"

namespace {

class Design final : public IPluginDesign {
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
  DesignBar readBar(int slot) override {
    const Arrays::Bar& b = Arrays::bars[slot];
    return {b.number, b.fromPixel, b.toPixel, b.channelSummary, b.boostPercent, b.threshold, b.setOnExceed, b.setValue};
  }
  std::vector<std::int16_t> readList(int id, int slot) override {
    std::vector<std::int16_t> out;
    if (const Arrays::ChannelList* list = Arrays::listById(id, slot))
      Arrays::forEachChannel(*list, [&](std::int16_t c) { out.push_back(c); });
    return out;
  }
  void clearDesign() override {
    for (int slot = 0; slot < Arrays::kBarSlots; ++slot) Arrays::clearBar(slot);
    for (int id = Arrays::kVuLeft; id <= Arrays::kBeatBar; ++id) Arrays::outputChannels[id].fill(0);
  }
  bool anyChannels() override {
    // A list holds channels when its first entry does (the engine stops at
    // the first entry that is not greater than 0).
    for (int id = 2; id <= 6; ++id)
      if ((*Arrays::listById(id, 0))[1] > 0) return true;
    for (int slot = 0; slot < Arrays::kBarSlots; ++slot)
      if (Arrays::holdsBar(slot) && Arrays::barChannels[slot][1] > 0) return true;
    return false;
  }
  std::vector<std::int16_t> usedChannels() override {
    std::vector<bool> used(32768);
    auto note = [&](const Arrays::ChannelList& list) { Arrays::forEachChannel(list, [&](std::int16_t c) { used[static_cast<std::size_t>(c)] = true; }); };
    for (int id = Arrays::kVuLeft; id <= Arrays::kBeatBar; ++id) note(*Arrays::listById(id, 0));
    for (int slot = 0; slot < Arrays::kBarSlots; ++slot)
      if (Arrays::holdsBar(slot)) note(Arrays::barChannels[slot]);
    std::vector<std::int16_t> out;
    for (std::size_t c = 1; c < used.size(); ++c)
      if (used[c]) out.push_back(static_cast<std::int16_t>(c));
    return out;
  }
  void outputChannel(std::int32_t channel, std::int32_t value, std::uint8_t active) override {
    Arrays::dmxOutputActive = active;
    Vantor::OutputChannel(channel, value);
  }

  std::vector<DesignParameter> parameters() override {
    Main& m = mainForm();
    const MainSettingsControls controls = settingsControls(m);
    std::vector<DesignParameter> out;
    auto add = [&](const tk::Control& c, std::size_t key) {
      const SettingRange range = settingRange(m, key);
      out.push_back({c.name(), range.low, range.high, key == MainSettingsControls::kOptionKey});
    };
    for (const tk::RangedControl* r : controls.ranged) add(*r, out.size());
    for (const tk::CheckBox* c : controls.checks) add(*c, out.size());
    add(m.Option1[0], out.size());
    return out;
  }
  std::vector<std::int32_t> readParameters() override {
    const auto values = settingsValues(mainForm());
    return {values.begin(), values.end()};
  }
  void writeParameters(const std::vector<std::optional<std::int32_t>>& values) override {
    for (std::size_t key = 0; key < values.size() && key < MainSettingsControls::kKeyCount; ++key)
      if (values[key]) applySetting(mainForm(), key, *values[key]);
  }
  void refreshWindows() override {
    Main& m = mainForm();
    if (m.loaded()) rebuildBarList(m.ListView1);
    for (tk::Form* f : tk::app().forms())
      if (auto* channels = dynamic_cast<Kanaele*>(f)) channels->refillRows();
  }
  std::string settingsFolder() override { return Settings::folder().string(); }

  DesignSwitches switches() override {
    const Main& m = mainForm();
    if (!m.loaded()) return {};
    return {m.Check5.value() == 1, m.Check9.value() != 0, m.Check8.value() != 0};
  }
  std::optional<DesignPixelChoice> pixelChoice(const tk::Form& form) override {
    const auto* dialog = dynamic_cast<const Presets_Channel*>(&form);
    if (!dialog) return std::nullopt;
    return DesignPixelChoice{{dialog->Combo1.listIndex(), dialog->Combo1.geometry()},
                             {dialog->Combo2.listIndex(), dialog->Combo2.geometry()},
                             dialog->Label10.geometry().left};
  }
};

}  // namespace

IPluginDesign& pluginDesign() {
  static Design design;
  return design;
}
