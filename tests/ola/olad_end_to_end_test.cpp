// sonvero itself against a real olad: a script's values, and OLA loaded
// only for an OLA output.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
  std::string trace() const { return support::readBytes(dir / "trace"); }
  std::string log() const { return support::readBytes(dir / "err"); }
  void expectOladHolds(const Both& values) {
    EXPECT_EQ(olad.fetch(1), values[0]);
    EXPECT_EQ(olad.fetch(2), values[1]);
  }

  OladProcess olad;
  support::TempFolder folder;
  const fs::path dir = folder.path();
  support::ChildProcess sonvero;
};

const std::string kValues =
    "test-output 1 10 1\ntest-output 512 20 1\ntest-output 513 30 1\ntest-output 1024 40 1\n"
    "test-output 300 1 1\ntest-output 300 255 1\ntest-output 800 128 1\ntest-output 800 0 1\n";
Both lastValues() {
  Both v{};
  for (const auto& [channel, value] : {std::pair{1, 10}, {512, 20}, {513, 30}, {1024, 40}, {300, 255}})
    v[(channel - 1) / 512][(channel - 1) % 512] = static_cast<std::uint8_t>(value);
  return v;
}

}  // namespace

// Only with --dmx ola; then olad holds the last values, then the switch-off's zeros.
TEST_F(SonveroWithOlad, OladHoldsTheLastValuesAndZerosAfterTheSwitchOffSweep) {
  ASSERT_EQ(runScript(kValues, false), 0) << log();
  expectOladHolds({});
  EXPECT_EQ(log().find("DMX"), std::string::npos) << log();
  ASSERT_EQ(runScript(kValues), 0) << log();
  EXPECT_EQ(countOf(log(), "DMX: OLA connected"), 1u) << "also when the script ends before the first attempt";
  expectOladHolds(lastValues());
  // Nonzero values are in olad now, so zeros after this run are the sweep's doing.
  ASSERT_EQ(runScript(kValues + "test-output 7 7 0\n"), 0) << log();
  EXPECT_EQ(countOf(trace(), "SetChannel"), 8u + 1024u);
  expectOladHolds({});
}

// Whether OLA's client library is loaded into a running process.
bool mapsOla(pid_t pid) { return support::readBytes("/proc/" + std::to_string(pid) + "/maps").find("libolacommon") != std::string::npos; }

// OLA's libraries come with the OLA output alone.
TEST_F(SonveroWithOlad, RunWithoutDmxOutputNeverLoadsOla) {
  for (const std::string dmx : {"none", "ola"}) {
    startSonvero({"--headless", "--audio", "silence", "--settings-dir", dir.string(), "--dmx", dmx, "--ola-port",
                  std::to_string(olad.port())});
    ASSERT_TRUE(sonvero.waitUntil([&] { return log().find(dmx == "ola" ? "DMX: OLA connected" : "running headless") !=
                                               std::string::npos; },
                                  3s))
        << log();
    EXPECT_EQ(mapsOla(sonvero.pid()), dmx == "ola");
    EXPECT_EQ(sonvero.stop(SIGHUP), 0) << log();
  }
}
