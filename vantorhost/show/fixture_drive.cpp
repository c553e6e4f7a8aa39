#include "vantorhost/show/fixture_drive.h"

#include <algorithm>

namespace vantorhost {

namespace {

constexpr std::size_t kListSize = 1024;

}  // namespace

std::vector<std::int16_t> attributeChannels(const PatchedFixture& fixture, Attribute attribute) {
  std::vector<std::int16_t> channels;
  for (std::size_t offset = 0; offset < fixture.roles.size(); ++offset)
    if (fixture.roles[offset].attribute == attribute && !fixture.roles[offset].fine)
      channels.push_back(static_cast<std::int16_t>(fixture.placement.address + static_cast<int>(offset)));
  return channels;
}

DriveResult driveFixture(IPluginDesign& design, const PatchedFixture& fixture, Attribute attribute, DriveSource source) {
  DriveResult result;
  const std::string named = "\"" + fixture.placement.name + "\"";
  if (!fixture.problem.empty()) {
    result.problem = named + " cannot be driven: " + fixture.problem;
    return result;
  }
  const std::vector<std::int16_t> channels = attributeChannels(fixture, attribute);
  if (channels.empty()) {
    result.problem = named + " has no " + attributeName(ChannelRole{attribute, false, 0}) + " channel";
    return result;
  }
  DesignBar bar{};
  if (source.id == 1) {
    bar = design.readBar(source.slot);
    if (bar.number != source.slot + 1) {
      result.problem = "there is no bar " + std::to_string(source.slot + 1);
      return result;
    }
  }
  std::vector<std::int16_t> list = design.readList(source.id, source.slot);
  for (const std::int16_t c : channels) {
    if (std::find(list.begin(), list.end(), c) != list.end()) continue;
    if (list.size() == kListSize) {
      result.problem = "the list is full: it holds 1024 channels";
      break;
    }
    list.push_back(c);
    result.added.push_back(c);
  }
  if (result.added.empty()) {
    if (result.problem.empty()) result.problem = "the list holds those channels already";
    return result;
  }
  design.writeList(source.id, source.slot, list);
  // The bar's channel summary is taken from its list when the bar is stored.
  if (source.id == 1)
    design.writeBar(source.slot, bar.fromPixel, bar.toPixel, bar.boostPercent, bar.threshold, bar.setOnExceed,
                    bar.setValue);
  design.refreshWindows();
  return result;
}

}  // namespace vantorhost
