// Reading fixture definitions and what their channels do: definitions
// that cannot be used say why, odd ones still read, and every kind of
// channel rests where a fixture lights without moving.
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

TEST(FixtureDefinition, ReadsWhatSonveroUsesAndPassesOverTheRest) {
  // Modes list their channels out of order; a capability out of range and
  // one running backwards are left out, a Default out of range ignored;
  // the physical data and a pixel head are passed over; the second mode of
  // a name and the second channel of a name are never reached.
  const std::string text = qxf(" Maker ", "Wash &amp; Spot",
                               " <Channel Name=\"Dim\" Default=\"300\">\n  <Group Byte=\"1\">Intensity</Group>\n"
                               "  <Capability Min=\"0\" Max=\"255\">Dimmer fine</Capability>\n"
                               "  <Capability Min=\"10\" Max=\"5\">backwards</Capability>\n"
                               "  <Capability Min=\"0\" Max=\"256\">too far</Capability>\n </Channel>\n"
                               " <Channel Name=\"Amber\" Default=\"7\">\n  <Group Byte=\"0\">Intensity</Group>\n"
                               "  <Colour>Amber</Colour>\n </Channel>\n" +
                                   channel("Dim", "IntensityRed") +
                                   " <Mode Name=\"2ch\">\n  <Channel Number=\"1\">Dim</Channel>\n"
                                   "  <Channel Number=\"0\">Amber</Channel>\n  <Head><Channel>0</Channel></Head>\n"
                                   " </Mode>\n" +
                                   mode("2ch", {"Dim"}) +
                                   " <Physical><Bulb Type=\"LED\"/></Physical>\n",
                               "Moving Head");
  const DefinitionRead read = readDefinition(text);
  ASSERT_TRUE(read.definition) << read.reason;
  const FixtureDefinition& d = *read.definition;
  EXPECT_EQ(d.manufacturer, "Maker");
  EXPECT_EQ(d.model, "Wash & Spot");
  EXPECT_EQ(d.type, "Moving Head");
  ASSERT_EQ(d.channels.size(), 2u);
  EXPECT_EQ(d.channels[0].group, "Intensity");
  EXPECT_TRUE(d.channels[0].fineByte);
  EXPECT_FALSE(d.channels[0].defaultValue);
  ASSERT_EQ(d.channels[0].capabilities.size(), 1u);
  EXPECT_EQ(d.channels[0].capabilities[0].name, "Dimmer fine");
  EXPECT_EQ(d.channels[1].colour, "Amber");
  EXPECT_EQ(d.channels[1].defaultValue, 7);
  ASSERT_EQ(d.modes.size(), 1u);
  EXPECT_EQ(d.modes[0].channels, (std::vector<int>{1, 0}));
}

TEST(FixtureDefinition, NamespacePrefixesAndLatin1Read) {
  const std::string prefixed =
      "<?xml version=\"1.0\"?><q:FixtureDefinition xmlns:q=\"http://www.qlcplus.org/FixtureDefinition\">"
      "<q:Manufacturer>M</q:Manufacturer><q:Model>P</q:Model><q:Channel Name=\"Red\" Preset=\"IntensityRed\"/>"
      "<q:Mode Name=\"1ch\"><q:Channel Number=\"0\">Red</q:Channel></q:Mode></q:FixtureDefinition>";
  const DefinitionRead a = readDefinition(prefixed);
  ASSERT_TRUE(a.definition) << a.reason;
  EXPECT_EQ(a.definition->modes.size(), 1u);
  EXPECT_FALSE(readDefinitionName(prefixed)) << "the index reads such a file whole";

  const std::string latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><FixtureDefinition>"
                             "<Manufacturer>Fran\xE7ois</Manufacturer><Model>Par</Model>"
                             "<Channel Name=\"Red\" Preset=\"IntensityRed\"/>"
                             "<Mode Name=\"1ch\"><Channel Number=\"0\">Red</Channel></Mode></FixtureDefinition>";
  const DefinitionRead b = readDefinition(latin1);
  ASSERT_TRUE(b.definition) << b.reason;
  EXPECT_EQ(b.definition->manufacturer, "Fran\xC3\xA7ois");
  EXPECT_FALSE(readDefinitionName(latin1)) << "only the parser converts other encodings";

  const auto name = readDefinitionName(qxf("Maker", "Par 64", channel("Red", "IntensityRed")));
  ASSERT_TRUE(name);
  EXPECT_EQ(name->manufacturer, "Maker");
  EXPECT_EQ(name->model, "Par 64");
  EXPECT_FALSE(readDefinitionName(qxf("Maker", "10&quot; Bar", ""))) << "an entity: read whole";
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
