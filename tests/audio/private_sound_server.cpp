#include "tests/audio/private_sound_server.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "audio/vbvis/vbvis.h"

PrivateSoundServer::PrivateSoundServer(const std::string& folder) : folder_(folder) {
  std::filesystem::create_directories(folder_ + "/run");
  std::filesystem::create_directories(folder_ + "/home");
  std::ofstream(folder_ + "/server.pa") << "load-module module-null-sink sink_name=sonvero_null rate=48000\n"
                                        << "load-module module-native-protocol-unix auth-anonymous=1 socket="
                                        << folder_ << "/run/native\n"
                                        << "set-default-sink sonvero_null\n";
  setenv("XDG_RUNTIME_DIR", (folder_ + "/run").c_str(), 1);
  setenv("HOME", (folder_ + "/home").c_str(), 1);
  setenv("PULSE_SERVER", ("unix:" + folder_ + "/run/native").c_str(), 1);
}

bool PrivateSoundServer::start() {
  stop();
  server_ = ChildProcess({"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n", "-F", folder_ + "/server.pa",
                          "--log-target=stderr"},
                         "/dev/null", folder_ + "/server.log");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    if (vbvis_sound_server_available()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

void PrivateSoundServer::keepAlive() {
  reader_ = ChildProcess({"parec", "--raw", "-d", "sonvero_null.monitor"});
}

void PrivateSoundServer::play(const std::string& path) {
  player_ = ChildProcess({"paplay", "-d", "sonvero_null", path});
}
