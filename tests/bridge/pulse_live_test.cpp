// The "pulse:" source and the host's choice of source against a private
// PulseAudio server that comes and goes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "audio/modVbVis10.h"
#include "bridge/analysis/pixel_bands.h"
#include "bridge/vbvis.h"
#include "tests/bridge/sox_signals.h"
#include "tests/support/child_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Reading {
  std::uint8_t tone;
  std::int16_t left, right;
};

// One tick's reads, as the plug-in makes them.
Reading tick() {
  std::int32_t sides[] = {0, 0, 1};
  const auto bins = modVbVis10::GetSpectrum(sides[0]);
  const std::size_t pixel = static_cast<std::size_t>(vbvis::pixelOf(1000.0));
  const std::uint8_t tone = bins.size() > pixel ? bins[pixel] : 0;
  return {tone, modVbVis10::GetVU(sides[1]), modVbVis10::GetVU(sides[2])};
}

// Ticks every 75 ms until `done` or `limit`; every tick must answer promptly.
template <typename Done>
bool tickUntil(Done done, Clock::duration limit) {
  for (const auto deadline = Clock::now() + limit; Clock::now() < deadline; std::this_thread::sleep_for(75ms)) {
    const auto start = Clock::now();
    const Reading r = tick();
    EXPECT_LT(Clock::now() - start, 50ms) << "a tick waited for the sound server";
    if (done(r)) return true;
  }
  return false;
}

bool hearsTone(const Reading& r) { return r.tone > 150 && r.left > 4000 && r.right > 4000; }
bool hearsNothing(const Reading& r) { return r.tone == 0 && r.left == 0 && r.right == 0; }
bool hearsSomething(const Reading& r) { return !hearsNothing(r); }

// A PulseAudio server per test (per-user mode, also as root) with a private
// runtime folder and home and one null sink "sonvero_null".
class PulseLive : public ::testing::Test {
 protected:
  void SetUp() override {
    vbvis_set_clock(nullptr, nullptr);
    tone = sox.make("tone.wav", "synth 30 sine 1000 vol 0.5");
    std::filesystem::create_directories(pulse + "/home");
    setenv("XDG_RUNTIME_DIR", pulse.c_str(), 1);
    setenv("HOME", (pulse + "/home").c_str(), 1);
    setenv("PULSE_SERVER", ("unix:" + pulse + "/native").c_str(), 1);
  }
  void TearDown() override {
    vbvis_close();
    server.stop(SIGKILL);
  }
  // A reader on the sink's monitor makes the idle sink deliver data at once.
  bool startServer() {
    server.start({"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n", "--log-target=stderr", "-L",
                  "module-null-sink sink_name=sonvero_null rate=48000", "-L",
                  "module-native-protocol-unix auth-anonymous=1 socket=" + pulse + "/native"},
                 "/dev/null", pulse + "/server.log");
    if (!server.waitUntil([] { return vbvis_sound_server_available() != 0; }, 10s)) return false;
    reader.start({"parec", "--raw", "-d", "sonvero_null.monitor"});
    return true;
  }
  void playTone() { player.start({"paplay", "-d", "sonvero_null", tone}); }
  // A headless host on this server, until it logs `text`.
  bool startHost(std::vector<std::string> args, const std::string& text) {
    args.insert(args.begin(), {SONVERO_EXECUTABLE, "--headless", "--dmx", "none", "--settings-dir", pulse + "/home"});
    host.start(args, "/dev/null", log);
    return waitFor(text);
  }
  bool waitFor(const std::string& text) {
    return host.waitUntil([&] { return support::readBytes(log).find(text) != std::string::npos; }, 8s);
  }
  // Stops the host; how many lines it logged about its audio.
  std::size_t stopAndCountAudioLines() {
    host.stop(SIGINT);
    const std::string all = support::readBytes(log);
    std::size_t n = 0;
    for (auto at = all.find("audio: "); at != std::string::npos; at = all.find("audio: ", at + 1)) ++n;
    return n;
  }
  SoxSignals sox;
  const std::string pulse = sox.folder() + "/pulse", log = sox.folder() + "/host.log";
  std::string tone;
  support::ChildProcess server, reader, player, host;
};

}  // namespace

TEST_F(PulseLive, HearsTheSinkGoesSilentWhenTheServerDiesAndHearsAgainAfterItsReturn) {
  EXPECT_EQ(vbvis_sound_server_available(), 0);
  EXPECT_EQ(vbvis_list_sources(nullptr, nullptr), -1);
  ASSERT_EQ(vbvis_open("pulse"), 0);
  EXPECT_TRUE(tickUntil(hearsNothing, 200ms));
  ASSERT_TRUE(startServer());
  ASSERT_EQ(vbvis_open("pulse:sonvero_null.monitor"), 0);
  playTone();
  ASSERT_TRUE(tickUntil(hearsTone, 5s)) << "the monitor never carried the tone";
  EXPECT_NEAR(tick().left, 8000, 100);
  EXPECT_EQ(vbvis_state(nullptr, 0), VBVIS_STATE_PLAYING);

  server.stop(SIGKILL);  // mid-run, by its process id
  const auto stopped = Clock::now();
  ASSERT_TRUE(tickUntil(hearsNothing, 1s)) << "no silence after the server went away";
  EXPECT_LT(Clock::now() - stopped, 400ms);  // a tick or two, with room for a busy machine
  // It keeps ticking on silence while the server stays away, and says why.
  EXPECT_FALSE(tickUntil(hearsSomething, 1500ms));
  EXPECT_TRUE(tickUntil([](const Reading&) { return vbvis_state(nullptr, 0) == VBVIS_STATE_NO_SERVER; }, 3s));

  ASSERT_TRUE(startServer());
  playTone();
  EXPECT_TRUE(tickUntil(hearsTone, 8s)) << "the source was not reopened";
  EXPECT_EQ(vbvis_state(nullptr, 0), VBVIS_STATE_PLAYING);
}

// The host starts with --audio's source, else the kept one, else the server's,
// else the demo track; it logs each change of its source once.
TEST_F(PulseLive, HostListsChoosesAndLogsItsSource) {
  ASSERT_TRUE(startServer());
  host.start({SONVERO_EXECUTABLE, "--list-sources"}, sox.folder() + "/sources.txt");
  EXPECT_EQ(host.wait(), 0);
  EXPECT_NE(support::readBytes(sox.folder() + "/sources.txt").find("pulse:sonvero_null.monitor"), std::string::npos);
  EXPECT_TRUE(startHost({}, "audio source: pulse\n"));

  EXPECT_TRUE(startHost({"--audio", "pulse:no_such_source"}, "audio: the sound server has no capture source named no_such_source"));
  EXPECT_EQ(stopAndCountAudioLines(), 1u) << support::readBytes(log);

  support::writeBytes(pulse + "/home/Sonvero.host", "source = pulse:sonvero_null.monitor\n");
  ASSERT_TRUE(startHost({}, "audio source: pulse:sonvero_null.monitor\n"));
  std::this_thread::sleep_for(500ms);
  server.stop(SIGKILL);
  EXPECT_TRUE(waitFor("audio: no sound server answering"));
  std::this_thread::sleep_for(1500ms);  // more attempts, no more lines
  ASSERT_TRUE(startServer());
  EXPECT_TRUE(waitFor("audio: listening to pulse:sonvero_null.monitor"));
  EXPECT_EQ(stopAndCountAudioLines(), 2u) << support::readBytes(log);
  EXPECT_TRUE(startHost({"--audio", "demo"}, "audio source: demo\n"));

  std::filesystem::remove(pulse + "/home/Sonvero.host");
  server.stop(SIGKILL);
  EXPECT_TRUE(startHost({}, "audio source: demo\n"));
}

// A name the server refuses (too long, or a tab or an escape sequence) is
// said in the state and logged once, escaped, not left "connecting".
TEST_F(PulseLive, ANameTheServerRefusesIsLoggedOnceWithItsReason) {
  ASSERT_TRUE(startServer());
  for (const std::string& name : {std::string(200, 'x'), std::string("a\tb\x1b[31m")}) {
    EXPECT_TRUE(startHost({"--audio", "pulse:" + name}, "audio: the sound server refuses to record (")) << support::readBytes(log);
    std::this_thread::sleep_for(2500ms);  // more attempts, no more lines
    EXPECT_EQ(stopAndCountAudioLines(), 1u) << support::readBytes(log);
    EXPECT_EQ(support::readBytes(log).find_first_of("\t\x1b"), std::string::npos) << support::readBytes(log);
  }
  ASSERT_EQ(vbvis_open(("pulse:" + std::string(200, 'x')).c_str()), 0);
  EXPECT_TRUE(tickUntil([](const Reading&) { return vbvis_state(nullptr, 0) == VBVIS_STATE_NO_SOURCE; }, 5s));
  char text[256];
  vbvis_state(text, sizeof text);
  EXPECT_TRUE(std::string(text).starts_with("the sound server refuses to record (")) << text;
}

// As the host window's chooser switches, each new source is heard at once.
TEST_F(PulseLive, SwitchesSourcesWhileTicking) {
  ASSERT_TRUE(startServer());
  const std::string quieter = sox.make("quieter.wav", "synth 30 sine 1000 vol 0.25");
  ASSERT_EQ(vbvis_open("pulse:sonvero_null.monitor"), 0);
  playTone();
  ASSERT_TRUE(tickUntil(hearsTone, 5s));
  ASSERT_EQ(vbvis_open(("file:" + quieter).c_str()), 0);
  EXPECT_TRUE(tickUntil([](const Reading& r) { return r.tone > 100 && std::abs(r.left - 4000) < 100; }, 300ms));
  ASSERT_EQ(vbvis_open("silence"), 0);
  EXPECT_TRUE(hearsNothing(tick()));
  ASSERT_EQ(vbvis_open("pulse:sonvero_null.monitor"), 0);
  EXPECT_TRUE(tickUntil(hearsTone, 3s)) << "the server's source back";
}
