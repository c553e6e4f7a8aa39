// Reading fixture definitions and where their channels rest (a user's odd
// definitions: golden fixtures_definitions).
#include <gtest/gtest.h>

#include "tests/host/fixture_definitions.h"
#include "vantorhost/fixtures/channel_role.h"
#include "vantorhost/fixtures/qxf_reader.h"

using namespace vantorhost;
using fixtures_test::channel;
using fixtures_test::mode;
using fixtures_test::qxf;

namespace {

struct Unusable {
  const char* what;
  std::string text;
  const char* reason;  // a part of the reason given
};

TEST(FixtureDefinition, UnusableDefinitionsSayWhy) {
  const std::string red = channel("Red", "IntensityRed");
  const Unusable cases[] = {
      {"empty file", "", "not well-formed XML"},
      {"not XML", "Manufacturer=Generic\nModel=Par\n", "not well-formed XML"},
      {"cut short", qxf("M", "P", red + mode("1ch", {"Red"})).substr(0, 200), "not well-formed XML at byte"},
      {"another root", "<?xml version=\"1.0\"?><InputProfile><Manufacturer>M</Manufacturer></InputProfile>",
       "not a fixture definition (its root element is <InputProfile>)"},
      {"no manufacturer", qxf("", "P", red + mode("1ch", {"Red"})), "no manufacturer"},
      {"blank model", qxf("M", "  ", red + mode("1ch", {"Red"})), "no model"},
      {"no mode", qxf("M", "P", red), "no modes"},
      {"unknown channel", qxf("M", "P", red + mode("2ch", {"Red", "Green"})),
       "mode \"2ch\" names a channel the definition does not have: \"Green\""},
      {"mode without channels", qxf("M", "P", red + " <Mode Name=\"none\"/>\n"), "mode \"none\" has no channels"},
      {"gap in numbers",
       qxf("M", "P", red + " <Mode Name=\"gap\"><Channel Number=\"0\">Red</Channel><Channel Number=\"2\">Red</Channel></Mode>\n"),
       "with a gap or twice at 1"},
      {"number twice",
       qxf("M", "P", red + " <Mode Name=\"dup\"><Channel Number=\"0\">Red</Channel><Channel Number=\"0\">Red</Channel></Mode>\n"),
       "with a gap or twice"},
      {"number not a number",
       qxf("M", "P", red + " <Mode Name=\"bad\"><Channel Number=\"first\">Red</Channel></Mode>\n"),
       "numbers a channel outside 0..511: \"first\""},
      {"channel without a name", qxf("M", "P", " <Channel Preset=\"IntensityRed\"/>\n" + mode("1ch", {"Red"})),
       "a channel has no name"},
      {"mode without a name", qxf("M", "P", red + " <Mode><Channel Number=\"0\">Red</Channel></Mode>\n"),
       "a mode has no name"},
  };
  for (const Unusable& c : cases) {
    const DefinitionRead read = readDefinition(c.text);
    EXPECT_FALSE(read.definition) << c.what;
    EXPECT_NE(read.reason.find(c.reason), std::string::npos) << c.what << ": " << read.reason;
  }
}

struct Role {
  const char* what;
  std::string channelXml;
  const char* attribute;
  bool intensity;
  int rest;
  const char* name = "X";  // the channel's name, as channelXml writes it
};

// Each channel alone beside a red one, so no rule of a whole fixture applies.
TEST(FixtureDefinition, EveryKindOfChannelRestsWhereAFixtureLights) {
  const auto group = [](const char* name, const char* g, const std::string& inner = "", const char* extra = "") {
    return " <Channel Name=\"" + std::string(name) + "\"" + extra + ">\n  <Group Byte=\"0\">" + g + "</Group>\n" +
           inner + " </Channel>\n";
  };
  const auto cap = [](int min, int max, const char* name, const char* preset = "") {
    return "  <Capability Min=\"" + std::to_string(min) + "\" Max=\"" + std::to_string(max) + "\" Preset=\"" + preset +
           "\">" + name + "</Capability>\n";
  };
  const Role cases[] = {
      {"red", channel("X", "IntensityRed"), "red", true, 0},
      {"master dimmer", channel("X", "IntensityMasterDimmer"), "dimmer", true, 255},
      {"dimmer fine", channel("X", "IntensityDimmerFine"), "dimmer fine", true, 255},
      {"white fine", channel("X", "IntensityWhiteFine"), "white fine", true, 0},
      {"UV", channel("X", "IntensityUV"), "uv", true, 0},
      {"hue is no intensity", channel("X", "IntensityHue"), "colour", false, 0},
      {"pan", channel("X", "PositionPan"), "pan", false, 128},
      {"pan with a default", " <Channel Name=\"X\" Preset=\"PositionPan\" Default=\"1\"/>\n", "pan", false, 128},
      {"tilt fine", channel("X", "PositionTiltFine"), "tilt fine", false, 0},
      {"strobe without capabilities", channel("X", "ShutterStrobeSlowFast"), "shutter", false, 0},
      {"iris min to max", channel("X", "ShutterIrisMinToMax"), "shutter", false, 255},
      {"iris max to min", channel("X", "ShutterIrisMaxToMin"), "shutter", false, 0},
      {"shutter marked open",
       group("X", "Shutter", cap(0, 7, "Closed", "ShutterClose") + cap(8, 15, "On", "ShutterOpen")), "shutter", false, 11},
      {"shutter named open", group("X", "Shutter", cap(0, 9, "Blackout") + cap(10, 20, "Open")), "shutter", false, 15},
      {"strobe named off", group("X", "Shutter", cap(0, 9, "No strobe") + cap(10, 255, "Strobe")), "shutter", false, 4},
      {"'opening' is no open", group("X", "Shutter", cap(0, 9, "Pulse opening")), "shutter", false, 0},
      {"shutter with a default", group("X", "Shutter", cap(0, 255, "Strobe"), " Default=\"3\""), "shutter", false, 3},
      {"old dimmer", group("Master Dimmer", "Intensity"), "dimmer", true, 255, "Master Dimmer"},
      {"old colour", group("X", "Intensity", "  <Colour>Amber</Colour>\n"), "amber", true, 0},
      {"fog output is no dimmer", group("Fog output level", "Intensity"), "other", false, 0, "Fog output level"},
      {"dimmer mode is no dimmer", group("Dimmer mode", "Intensity", "", " Default=\"20\""), "other", false, 20, "Dimmer mode"},
      {"colour wheel default", group("X", "Colour", cap(0, 9, "White"), " Default=\"5\""), "colour", false, 5},
      {"unknown preset, known group", " <Channel Name=\"X\" Preset=\"Wobble\">\n  <Group Byte=\"0\">Gobo</Group>\n </Channel>\n",
       "gobo", false, 0},
      {"unknown preset alone", " <Channel Name=\"X\" Preset=\"Wobble\" Default=\"9\"/>\n", "other", false, 9},
      {"speed", channel("X", "SpeedPanTiltSlowFast"), "speed", false, 0},
      {"no function", channel("X", "NoFunction"), "other", false, 0},
  };
  for (const Role& c : cases) {
    const DefinitionRead read = readDefinition(qxf("M", "P", channel("R", "IntensityRed") + c.channelXml + mode("2ch", {"R", c.name})));
    ASSERT_TRUE(read.definition) << c.what << ": " << read.reason;
    const ChannelRole role = modeRoles(*read.definition, read.definition->modes[0])[1];
    EXPECT_EQ(attributeName(role), c.attribute) << c.what;
    EXPECT_EQ(role.intensity(), c.intensity) << c.what;
    EXPECT_EQ(role.rest, c.rest) << c.what;
  }
}

// A smoke machine, a hazer and a laser rest dark whatever their channels (a
// fixture of dimmers alone: golden fixtures_shipped's lone dimmer).
TEST(FixtureDefinition, FixturesThatMustNotLightByThemselvesRestDark) {
  const std::string fogger = channel("Fog", "IntensityMasterDimmer") + channel("Pan", "PositionPan") + mode("2ch", {"Fog", "Pan"});
  for (const char* type : {"Smoke", "Hazer", "Laser"}) {
    const DefinitionRead read = readDefinition(qxf("M", "Fog", fogger, type));
    ASSERT_TRUE(read.definition) << type;
    for (const ChannelRole& role : modeRoles(*read.definition, read.definition->modes[0])) EXPECT_EQ(role.rest, 0) << type;
  }
}

}  // namespace
