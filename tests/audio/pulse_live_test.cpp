// The "pulse:" source against a private PulseAudio server: it hears what is
// played into a null sink, keeps answering on silence while the server is
// gone, and hears again once the server is back. Also the host's choice of
// source and its list of the server's sources.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/modVbVis10.h"
#include "audio/vbvis/pixel_bands.h"
#include "audio/vbvis/vbvis.h"
#include "tests/audio/child_process.h"
#include "tests/audio/private_sound_server.h"
#include "tests/audio/sox_signals.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const int kTonePixel = vbvis::pixelOf(1000.0);

struct Reading {
  std::uint8_t tone = 0;
  std::int16_t left = 0, right = 0;
  Clock::duration took{};
};

// One tick's reads, as the plug-in makes them.
Reading tick() {
  const auto start = Clock::now();
  std::int32_t side = 0;
  Reading r;
  const auto bins = modVbVis10::GetSpectrum(side);
  r.tone = bins.size() > static_cast<size_t>(kTonePixel) ? bins[kTonePixel] : 0;
  side = 0;
  r.left = modVbVis10::GetVU(side);
  side = 1;
  r.right = modVbVis10::GetVU(side);
  r.took = Clock::now() - start;
  return r;
}

// Ticks every 75 ms until `done` says so or `limit` has passed; every tick
// must answer promptly. Returns whether `done` was met.
template <typename Done>
bool tickUntil(Done done, Clock::duration limit) {
  const auto deadline = Clock::now() + limit;
  while (Clock::now() < deadline) {
    const Reading r = tick();
    EXPECT_LT(r.took, 50ms) << "a tick waited for the sound server";
    if (done(r)) return true;
    std::this_thread::sleep_for(75ms);
  }
  return false;
}

bool hearsTone(const Reading& r) { return r.tone > 150 && r.left > 4000 && r.right > 4000; }
bool hearsNothing(const Reading& r) { return r.tone == 0 && r.left == 0 && r.right == 0; }

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class PulseLive : public ::testing::Test {
 protected:
  void SetUp() override {
    vbvis_set_clock(nullptr, nullptr);
    tone = sox.make("tone.wav", "synth 30 sine 1000 vol 0.5");
  }
  void TearDown() override { vbvis_close(); }
  SoxSignals sox;
  std::string tone;
};

}  // namespace

TEST_F(PulseLive, HearsTheSinkGoesSilentWhenTheServerDiesAndHearsAgainAfterItsReturn) {
  PrivateSoundServer server(sox.folder() + "/pulse");
  ASSERT_TRUE(server.start());
  server.keepAlive();
  ASSERT_EQ(vbvis_open("pulse:sonvero_null.monitor"), 0);
  server.play(tone);
  ASSERT_TRUE(tickUntil(hearsTone, 5s)) << "the monitor never carried the tone";
  const Reading playing = tick();
  EXPECT_NEAR(playing.left, 8000, 100);

  server.stop();  // mid-run, by its process id
  const auto stopped = Clock::now();
  ASSERT_TRUE(tickUntil(hearsNothing, 1s)) << "no silence after the server went away";
  EXPECT_LT(Clock::now() - stopped, 400ms);  // a tick or two, with room for a busy machine
  // It keeps ticking on silence while the server stays away.
  EXPECT_FALSE(tickUntil([](const Reading& r) { return !hearsNothing(r); }, 1500ms));

  ASSERT_TRUE(server.start());
  server.keepAlive();
  server.play(tone);
  EXPECT_TRUE(tickUntil(hearsTone, 8s)) << "the source was not reopened";
}

TEST_F(PulseLive, AnAbsentServerReadsSilenceWithoutHoldingUpTheTick) {
  setenv("PULSE_SERVER", ("unix:" + sox.folder() + "/nobody-here").c_str(), 1);
  EXPECT_EQ(vbvis_sound_server_available(), 0);
  EXPECT_EQ(vbvis_list_sources(nullptr, nullptr), -1);
  ASSERT_EQ(vbvis_open("pulse"), 0);
  EXPECT_TRUE(tickUntil(hearsNothing, 200ms));
  EXPECT_FALSE(tickUntil([](const Reading& r) { return !hearsNothing(r); }, 500ms));
}

// The host: lists the server's sources, and without --audio listens to the
// server when it answers, else plays the demo track, and says which.
TEST_F(PulseLive, HostChoosesPulseWhenTheServerAnswersAndTheDemoOtherwise) {
  const std::string sonvero = SONVERO_EXECUTABLE;
  const std::string settings = sox.folder() + "/settings";
  std::filesystem::create_directories(settings);
  auto headlessLog = [&](const std::string& name) {
    const std::string log = sox.folder() + "/" + name;
    ChildProcess host({sonvero, "--headless", "--dmx", "none", "--settings-dir", settings}, "/dev/null", log);
    const auto deadline = Clock::now() + 10s;
    while (Clock::now() < deadline && readFile(log).find("audio source:") == std::string::npos)
      std::this_thread::sleep_for(50ms);
    host.stop(SIGINT);
    return readFile(log);
  };
  {
    PrivateSoundServer server(sox.folder() + "/pulse");
    ASSERT_TRUE(server.start());
    EXPECT_EQ(ChildProcess({sonvero, "--list-sources"}, sox.folder() + "/sources.txt").wait(), 0);
    EXPECT_NE(readFile(sox.folder() + "/sources.txt").find("pulse:sonvero_null.monitor"), std::string::npos);
    EXPECT_NE(headlessLog("with-server.log").find("audio source: pulse\n"), std::string::npos);
  }
  EXPECT_NE(headlessLog("without-server.log").find("audio source: demo\n"), std::string::npos);
}
