#pragma once
// Small fixture definitions of the tests' own, in the open fixture
// library's format, and a source of definitions held in memory.
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "vantorhost/fixtures/fixture_library.h"
#include "vantorhost/fixtures/qxf_reader.h"

namespace fixtures_test {

// A definition file: `body` (channels and modes) under a manufacturer and model.
inline std::string qxf(const std::string& manufacturer, const std::string& model, const std::string& body,
                       const std::string& type = "Color Changer") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE FixtureDefinition>\n"
         "<FixtureDefinition xmlns=\"http://www.qlcplus.org/FixtureDefinition\">\n"
         " <Creator><Name>test</Name></Creator>\n"
         " <Manufacturer>" + manufacturer + "</Manufacturer>\n <Model>" + model + "</Model>\n <Type>" + type +
         "</Type>\n" + body + "</FixtureDefinition>\n";
}

// A mode of the named channels, in this order.
inline std::string mode(const std::string& name, std::initializer_list<const char*> channels) {
  std::string text = " <Mode Name=\"" + name + "\">\n";
  int number = 0;
  for (const char* c : channels) text += "  <Channel Number=\"" + std::to_string(number++) + "\">" + c + "</Channel>\n";
  return text + " </Mode>\n";
}

inline std::string channel(const std::string& name, const std::string& preset) {
  return " <Channel Name=\"" + name + "\" Preset=\"" + preset + "\"/>\n";
}

// A par: red, green, blue, then a dimmer (mode "4ch"), or red alone ("1ch").
inline std::string parBody() {
  return channel("Red", "IntensityRed") + channel("Green", "IntensityGreen") + channel("Blue", "IntensityBlue") +
         channel("Dimmer", "IntensityMasterDimmer") + mode("4ch", {"Red", "Green", "Blue", "Dimmer"}) +
         mode("1ch", {"Red"});
}

// A moving head: pan, tilt, dimmer, a shutter open at 8..15, a colour wheel.
inline std::string headBody() {
  return channel("Pan", "PositionPan") + channel("Tilt", "PositionTilt") + channel("Dimmer", "IntensityDimmer") +
         " <Channel Name=\"Shutter\">\n  <Group Byte=\"0\">Shutter</Group>\n"
         "  <Capability Min=\"0\" Max=\"7\" Preset=\"ShutterClose\">Closed</Capability>\n"
         "  <Capability Min=\"8\" Max=\"15\" Preset=\"ShutterOpen\">Open</Capability>\n"
         "  <Capability Min=\"16\" Max=\"255\" Preset=\"StrobeSlowToFast\">Strobe</Capability>\n </Channel>\n"
         " <Channel Name=\"Colour wheel\">\n  <Group Byte=\"0\">Colour</Group>\n"
         "  <Capability Min=\"0\" Max=\"9\">White</Capability>\n </Channel>\n" +
         mode("5ch", {"Pan", "Tilt", "Dimmer", "Shutter", "Colour wheel"});
}

// Definitions held in memory, by manufacturer and model.
class MemoryDefinitions final : public vantorhost::DefinitionSource {
 public:
  void add(const std::string& text) {
    vantorhost::DefinitionRead read = vantorhost::readDefinition(text);
    if (!read.definition) throw std::runtime_error(read.reason);
    const std::pair key{read.definition->manufacturer, read.definition->model};
    definitions_[key] = std::make_shared<const vantorhost::FixtureDefinition>(std::move(*read.definition));
  }
  std::shared_ptr<const vantorhost::FixtureDefinition> find(std::string_view manufacturer, std::string_view model) override {
    const auto it = definitions_.find({std::string(manufacturer), std::string(model)});
    return it == definitions_.end() ? nullptr : it->second;
  }

 private:
  std::map<std::pair<std::string, std::string>, std::shared_ptr<const vantorhost::FixtureDefinition>> definitions_;
};

}  // namespace fixtures_test
