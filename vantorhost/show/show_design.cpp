#include "vantorhost/show/show_design.h"

#include <algorithm>

namespace vantorhost {

namespace {

constexpr int kBarSlots = 288;
constexpr int kFirstFixedList = 2, kLastFixedList = 6;

void addList(IPluginDesign& plugin, ShowDesign& design, int id, int slot) {
  std::vector<std::int16_t> channels = plugin.readList(id, slot);
  if (!channels.empty()) design.lists.push_back({id, slot, std::move(channels)});
}

}  // namespace

ShowDesign readDesign(IPluginDesign& plugin, const HostDesign& host) {
  ShowDesign design;
  design.host = host;
  // A free slot's list is kept too: the next bar to take the slot starts with it.
  for (int slot = 0; slot < kBarSlots; ++slot) addList(plugin, design, 1, slot);
  for (int id = kFirstFixedList; id <= kLastFixedList; ++id) addList(plugin, design, id, 0);
  for (int slot = 0; slot < kBarSlots; ++slot) {
    const DesignBar b = plugin.readBar(slot);
    if (b.number == slot + 1)
      design.bars.push_back({slot, b.fromPixel, b.toPixel, b.boostPercent, b.threshold, b.setOnExceed, b.setValue});
  }
  for (std::int32_t value : plugin.readParameters()) design.parameters.emplace_back(value);
  return design;
}

ShowDesign readDesign(HostSession& session) { return readDesign(*session.design(), session.hostDesign()); }

void applyTables(IPluginDesign& plugin, const ShowDesign& design) {
  plugin.clearDesign();
  for (const ShowList& l : design.lists) plugin.writeList(l.id, l.slot, l.channels);
  for (const ShowBar& b : design.bars)
    plugin.writeBar(b.slot, b.fromPixel, b.toPixel, b.boostPercent, b.threshold, b.setOnExceed, b.setValue);
}

void applyParameters(IPluginDesign& plugin, const ShowDesign& design) {
  plugin.writeParameters(design.parameters);
  plugin.refreshWindows();
}

void applyDesign(HostSession& session, const ShowDesign& design) {
  applyTables(*session.design(), design);
  applyParameters(*session.design(), design);
  session.setHostDesign(design.host);
}

ShowDesign openedOver(ShowDesign show, const ShowDesign& current) {
  show.parameters.resize(std::max(show.parameters.size(), current.parameters.size()));
  for (std::size_t i = 0; i < current.parameters.size(); ++i)
    if (!show.parameters[i]) show.parameters[i] = current.parameters[i];
  return show;
}

}  // namespace vantorhost
