// sonvero itself against a real olad: a script run leaves in olad the last
// value of every channel its trace sent, the switch-off sweep leaves zeros,
// scripts leave olad alone unless asked, and a headless run lives through
// olad being killed and restarted.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "tests/ola/dmx_readback.h"
#include "tests/ola/olad_process.h"
#include "tests/ola/test_support.h"

extern char** environ;

using namespace vantorhost;

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Both = std::array<UniverseValues, 2>;

pid_t spawn(std::vector<std::string> args, const fs::path& dir) {
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, (dir / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&files, 2, (dir / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  return pid;
}

int waitFor(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

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
  void SetUp() override {
    ASSERT_TRUE(olad.start());
    std::string pattern = (fs::temp_directory_path() / "sonvero-e2e-XXXXXX").string();
    dir = mkdtemp(pattern.data());
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs the script; gives sonvero's exit status, the trace in trace().
  int runScript(const std::string& script, bool toOlad = true) {
    std::ofstream(dir / "s.script") << script;
    std::vector<std::string> args{SONVERO_BINARY, "--script", (dir / "s.script").string(), "--trace",
                                  (dir / "trace").string(), "--settings-dir", dir.string(),
                                  "--ola-port", std::to_string(olad.port())};
    if (toOlad) args.insert(args.end(), {"--dmx", "ola"});
    return waitFor(spawn(args, dir));
  }
  std::string trace() const { return read(dir / "trace"); }
  std::string log() const { return read(dir / "err"); }
  void expectOladHolds(const Both& values) {
    EXPECT_EQ(fetchDmx(olad.port(), 1), values[0]);
    EXPECT_EQ(fetchDmx(olad.port(), 2), values[1]);
  }

  OladProcess olad;
  fs::path dir;
};

// Values on both universes, their edges, and channels written twice.
const std::string kValues =
    "test-output 1 10 1\ntest-output 512 20 1\ntest-output 513 30 1\ntest-output 1024 40 1\n"
    "test-output 300 1 1\ntest-output 300 255 1\ntest-output 800 128 1\ntest-output 800 0 1\n";

}  // namespace

TEST_F(SonveroWithOlad, OladHoldsTheTracesLastValuesAndZerosAfterTheSwitchOffSweep) {
  ASSERT_EQ(runScript(kValues), 0) << log();
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

TEST_F(SonveroWithOlad, HeadlessRunSurvivesOladKilledAndRestarted) {
  const pid_t sonvero = spawn({SONVERO_BINARY, "--headless", "--audio", "silence", "--settings-dir", dir.string(),
                               "--dmx", "ola", "--ola-port", std::to_string(olad.port())},
                              dir);
  auto waitForLog = [&](const std::string& text, std::size_t times) {
    for (int i = 0; i < 300 && countOf(log(), text) < times; ++i) std::this_thread::sleep_for(10ms);
    return countOf(log(), text) >= times;
  };
  ASSERT_TRUE(waitForLog("DMX: OLA connected", 1)) << log();
  olad.kill();
  ASSERT_TRUE(waitForLog("DMX: OLA not reachable, retrying", 1)) << log();
  std::this_thread::sleep_for(700ms);  // several retries
  ASSERT_TRUE(olad.start());
  ASSERT_TRUE(waitForLog("DMX: OLA connected", 2)) << log();
  EXPECT_EQ(waitpid(sonvero, nullptr, WNOHANG), 0) << "sonvero ended";
  kill(sonvero, SIGINT);
  EXPECT_EQ(waitFor(sonvero), 0) << log();
  EXPECT_EQ(countOf(log(), "DMX: OLA not reachable, retrying"), 1u) << log();
  EXPECT_EQ(countOf(log(), "DMX: OLA connected"), 2u) << log();
}
