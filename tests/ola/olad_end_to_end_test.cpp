// sonvero itself against a real olad: a script run leaves in olad the last
// value of every channel its trace sent, the switch-off sweep leaves zeros,
// scripts leave olad alone unless asked, and a headless run lives through
// olad being killed and restarted and stops properly when its terminal closes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "tests/support/olad_process.h"
#include "tests/ola/output_helpers.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

using namespace vantorhost;

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Both = std::array<UniverseValues, 2>;

std::string read(const fs::path& path) {
  std::stringstream s;
  s << std::ifstream(path).rdbuf();
  return s.str();
}

// Channel values as the trace's last SetChannel per channel leaves them.
Both lastValuesOf(const std::string& trace) {
  Both v{};
  std::istringstream lines(trace);
  std::string time, call;
  int channel = 0, value = 0;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    if ((words >> time >> call) && call == "SetChannel" && (words >> channel >> value) && channel >= 1 &&
        channel <= 1024)
      v[(channel - 1) / 512][(channel - 1) % 512] = static_cast<std::uint8_t>(value);
  }
  return v;
}

class SonveroWithOlad : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(olad.start()); }
  // Starts sonvero with these arguments, its output and log kept in `dir`.
  void startSonvero(std::vector<std::string> args) {
    args.insert(args.begin(), SONVERO_BINARY);
    sonvero.start(args, (dir / "out").string(), (dir / "err").string());
  }

  // Runs the script; gives sonvero's exit status, the trace in trace().
  int runScript(const std::string& script, bool toOlad = true) {
    std::ofstream(dir / "s.script") << script;
    std::vector<std::string> args{"--script", (dir / "s.script").string(), "--trace", (dir / "trace").string(),
                                  "--settings-dir", dir.string(), "--ola-port", std::to_string(olad.port())};
    if (toOlad) args.insert(args.end(), {"--dmx", "ola"});
    startSonvero(args);
    return sonvero.wait();
  }
  std::string trace() const { return read(dir / "trace"); }
  std::string log() const { return read(dir / "err"); }
  void expectOladHolds(const Both& values) {
    EXPECT_EQ(olad.fetch(1), values[0]);
    EXPECT_EQ(olad.fetch(2), values[1]);
  }

  OladProcess olad;
  support::TempFolder folder;
  const fs::path dir = folder.path();
  support::ChildProcess sonvero;
};

// Values on both universes, their edges, and channels written twice.
const std::string kValues =
    "test-output 1 10 1\ntest-output 512 20 1\ntest-output 513 30 1\ntest-output 1024 40 1\n"
    "test-output 300 1 1\ntest-output 300 255 1\ntest-output 800 128 1\ntest-output 800 0 1\n";

}  // namespace

TEST_F(SonveroWithOlad, OladHoldsTheTracesLastValuesAndZerosAfterTheSwitchOffSweep) {
  ASSERT_EQ(runScript(kValues), 0) << log();
  EXPECT_EQ(countOf(log(), "DMX: OLA connected"), 1u) << "also when the script ends before the first attempt";
  const Both expected = lastValuesOf(trace());
  EXPECT_EQ(expected[0][299], 255);
  EXPECT_EQ(expected[1][511], 40);
  expectOladHolds(expected);
  // Nonzero values are in olad now, so zeros after this run are the sweep's doing.
  ASSERT_EQ(runScript(kValues + "test-output 7 7 0\n"), 0) << log();
  EXPECT_EQ(countOf(trace(), "SetChannel"), 8u + 1024u);
  EXPECT_EQ(lastValuesOf(trace()), Both{});
  expectOladHolds({});
}

TEST_F(SonveroWithOlad, ScriptWithoutDmxOptionLeavesOladAlone) {
  ASSERT_EQ(runScript(kValues, false), 0) << log();
  expectOladHolds({});
  EXPECT_EQ(log().find("DMX"), std::string::npos) << log();
}

// Whether OLA's client library is loaded into a running process.
bool mapsOla(pid_t pid) { return read("/proc/" + std::to_string(pid) + "/maps").find("libolacommon") != std::string::npos; }

// OLA's libraries come with the OLA output alone: a run without one never
// loads them.
TEST_F(SonveroWithOlad, RunWithoutDmxOutputNeverLoadsOla) {
  startSonvero({"--headless", "--audio", "silence", "--settings-dir", dir.string(), "--dmx", "none"});
  ASSERT_TRUE(sonvero.waitUntil([&] { return log().find("running headless") != std::string::npos; }, 3s)) << log();
  EXPECT_FALSE(mapsOla(sonvero.pid()));
  EXPECT_EQ(sonvero.stop(SIGHUP), 0) << log();
}

TEST_F(SonveroWithOlad, HeadlessRunSurvivesOladKilledAndRestarted) {
  startSonvero({"--headless", "--audio", "silence", "--settings-dir", dir.string(), "--dmx", "ola", "--ola-port",
                std::to_string(olad.port())});
  auto waitForLog = [&](const std::string& text, std::size_t times) {
    return sonvero.waitUntil([&] { return countOf(log(), text) >= times; }, 3s);
  };
  ASSERT_TRUE(waitForLog("DMX: OLA connected", 1)) << log();
  EXPECT_TRUE(mapsOla(sonvero.pid()));
  olad.kill();
  ASSERT_TRUE(waitForLog("DMX: OLA not reachable, retrying", 1)) << log();
  std::this_thread::sleep_for(700ms);  // several retries
  ASSERT_TRUE(olad.start());
  ASSERT_TRUE(waitForLog("DMX: OLA connected", 2)) << log();
  EXPECT_TRUE(sonvero.running()) << "sonvero ended";
  // The terminal closing stops it as Ctrl-C does: the settings are saved.
  EXPECT_EQ(sonvero.stop(SIGHUP), 0) << log();
  EXPECT_TRUE(fs::is_regular_file(dir / "Sonvero.ini")) << log();
  EXPECT_EQ(countOf(log(), "DMX: OLA not reachable, retrying"), 1u) << log();
  EXPECT_EQ(countOf(log(), "DMX: OLA connected"), 2u) << log();
}
