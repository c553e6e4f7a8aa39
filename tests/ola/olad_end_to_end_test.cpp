// sonvero itself against a real olad: a script run leaves in olad the last
// value of every channel its trace sent, the switch-off sweep leaves zeros,
// scripts leave olad alone unless asked, and a headless run lives through
// olad being killed and restarted.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/ola/dmx_readback.h"
#include "tests/ola/olad_process.h"
#include "tests/ola/test_support.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

pid_t spawn(std::vector<std::string> args, const fs::path& out, const fs::path& err) {
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
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
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Channel values as the trace's last SetChannel per channel leaves them.
std::array<UniverseValues, 2> lastValuesOf(const std::string& trace) {
  std::array<UniverseValues, 2> v{};
  std::istringstream lines(trace);
  std::string time, call;
  int channel = 0, value = 0;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    if (!(words >> time >> call) || call != "SetChannel" || !(words >> channel >> value)) continue;
    if (channel < 1 || channel > 1024) continue;
    v[static_cast<std::size_t>((channel - 1) / 512)][static_cast<std::size_t>((channel - 1) % 512)] =
        static_cast<std::uint8_t>(value);
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
  int runScript(const std::string& script, std::vector<std::string> extra) {
    std::ofstream(dir / "s.script") << script;
    std::vector<std::string> args{SONVERO_BINARY, "--script", (dir / "s.script").string(), "--trace",
                                  (dir / "trace").string(), "--settings-dir", dir.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return waitFor(spawn(args, dir / "out", dir / "err"));
  }
  std::vector<std::string> toOlad() const { return {"--dmx", "ola", "--ola-port", std::to_string(olad.port())}; }
  std::string trace() const { return read(dir / "trace"); }
  std::string log() const { return read(dir / "err"); }
  void expectOladHolds(const std::array<UniverseValues, 2>& values) {
    EXPECT_EQ(fetchDmx(olad.port(), 1), values[0]);
    EXPECT_EQ(fetchDmx(olad.port(), 2), values[1]);
  }

  OladProcess olad;
  fs::path dir;
};

// Values on both universes, their edges, and channels written twice.
const char* const kValues =
    "test-output 1 10 1\n"
    "test-output 512 20 1\n"
    "test-output 513 30 1\n"
    "test-output 1024 40 1\n"
    "test-output 300 1 1\n"
    "test-output 300 255 1\n"
    "test-output 800 128 1\n"
    "test-output 800 0 1\n";

}  // namespace

TEST_F(SonveroWithOlad, ScriptLeavesTheTracesLastValuesInOlad) {
  ASSERT_EQ(runScript(kValues, toOlad()), 0) << log();
  const auto expected = lastValuesOf(trace());
  EXPECT_EQ(expected[0][299], 255);
  EXPECT_EQ(expected[1][511], 40);
  expectOladHolds(expected);
}

TEST_F(SonveroWithOlad, SwitchOffSweepLeavesZerosInOlad) {
  ASSERT_EQ(runScript(std::string(kValues) + "test-output 7 7 0\n", toOlad()), 0) << log();
  EXPECT_EQ(countOf(trace(), "SetChannel"), 8u + 1024u);
  const auto expected = lastValuesOf(trace());
  EXPECT_EQ(expected, (std::array<UniverseValues, 2>{}));
  // Something else first, so zeros in olad are the sweep's doing.
  ASSERT_EQ(runScript(kValues, toOlad()), 0) << log();
  ASSERT_NE(fetchDmx(olad.port(), 1), expected[0]);
  ASSERT_EQ(runScript(std::string(kValues) + "test-output 7 7 0\n", toOlad()), 0) << log();
  expectOladHolds(expected);
}

TEST_F(SonveroWithOlad, ScriptWithoutDmxOptionLeavesOladAlone) {
  ASSERT_EQ(runScript(kValues, {"--ola-port", std::to_string(olad.port())}), 0) << log();
  expectOladHolds({});
  EXPECT_EQ(log().find("DMX"), std::string::npos) << log();
}

TEST_F(SonveroWithOlad, HeadlessRunSurvivesOladKilledAndRestarted) {
  const pid_t sonvero = spawn({SONVERO_BINARY, "--headless", "--audio", "silence", "--settings-dir", dir.string(),
                               "--dmx", "ola", "--ola-port", std::to_string(olad.port())},
                              dir / "out", dir / "err");
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
