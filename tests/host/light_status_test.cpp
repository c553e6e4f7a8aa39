#include <gtest/gtest.h>

#include "vantorhost/light_status.h"

using namespace vantorhost;

// Each reason shows while it holds and every reason before it is cleared;
// clearing them one by one, in order, ends in the green line.
TEST(LightStatus, TheFirstReasonInOrderThenAllWell) {
  LightFacts f;
  f.spectrumMuted = f.vuMuted = f.silent = true;
  f.source = "demo";
  f.sourceTrouble = "no sound server answering";
  f.dmx = {DmxFacts::State::Unreachable, 3, {4}, ""};
  const std::vector<std::pair<std::function<void()>, std::string>> steps = {
      {[] {}, "Sonvero's window is closed: click \"Open Sonvero\""},
      {[&] { f.windowOpen = true; }, "DMX output is off: tick \"DMX-Ausgabe aktiv\""},
      {[&] { f.outputOn = true; }, "Spectrum and VU are muted: untick their \"Mute\" boxes"},
      {[&] { f.vuMuted = false; }, "No bar and no list has channels: add a bar with \"+\", or click L, R or ch"},
      {[&] { f.anyChannels = true; },
       "No sound from demo for 5 s (no sound server answering): play something or choose another source"},
      {[&] { f.silent = false; }, "OLA not reachable: start olad"},
      {[&] { f.dmx.state = DmxFacts::State::Sending; },
       "OLA universe 4 has no output patched: patch one in olad (http://localhost:9090)"},
      {[&] { f.dmx.unpatched.clear(); }, "Sending to OLA universes 3 and 4"},
  };
  for (const auto& [change, text] : steps) {
    change();
    const LightStatus status = explainLights(f);
    EXPECT_EQ(status.text, text);
    EXPECT_EQ(status.mood == LightStatus::Mood::Good, text.starts_with("Sending"));
  }
  f.dmx = {DmxFacts::State::MonitorOnly, 1, {}, "--dmx none"};
  EXPECT_EQ(explainLights(f).text, "The DMX monitor is the only output (--dmx none)");
}
