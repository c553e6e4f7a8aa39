// beat_tracker_eval [--no-aubio] [--trace DIR] TRACK.wav ... | DIR ...
//
// Runs the bridge's beat tracker over each track as a host uses it on the
// simulated clock (the file as the source, vbvis_tracker_update every 10 ms,
// a beat fired on the first millisecond the clock reaches the next predicted
// one) and scores the fired beats against TRACK.beats beside the track (one
// time in seconds per line), with TRACK.end saying when the music stops:
//   F       F-measure at the annotated level (+-70 ms, the first 5 s not counted)
//   Fany    the best F of the annotated level, twice it and either half of it,
//           and which that was
//   off%    the share of the song after the first flash that flashed on the off-beat
//   bpm     the tracker's tempo when the music stops (`--` unlocked) against
//           the true one, and `ok` when within 2 % of it, or of twice or half
//   lock_s  when the beats are first right (four in a row); relock_s after a
//           tempo change
//   err_ms  the mean signed error of the beats that hit (fired minus true)
//   after   beats fired after the music stopped
// and aubio's F and Fany on the same file when `aubio` is installed. Per
// kind (drum, band and dance songs) and condition, and per kind and set
// (tuning, held-out): means and least values. A track whose .beats is empty
// (silence, noise) reports the number of beats fired. --trace DIR writes
// DIR/TRACK.trace: every 50 ms the time, tempo, confidence, whether locked
// and the next predicted beat. bench/music/make_tracks.sh makes the tracks.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/beat_eval/scores.h"
#include "bridge/vbvis.h"

namespace {

namespace fs = std::filesystem;
using namespace beat_eval;

constexpr int kUpdateEveryMs = 10;
constexpr int kTraceEveryMs = 50;

std::int64_t simulatedMs = 0;
std::int64_t readClock(void*) { return simulatedMs; }

std::vector<double> readTimes(std::istream& in) {
  std::vector<double> times;
  double t;
  while (in >> t) times.push_back(t);
  return times;
}

double secondsOf(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return 0.0;
  sf_close(file);
  return static_cast<double>(info.frames) / info.samplerate;
}

struct Run {
  std::vector<double> beats;
  double endBpm = 0.0;  // when the music stops; 0 unlocked
};

Run track(const std::string& path, double seconds, double musicEnd, std::FILE* trace) {
  Run run;
  simulatedMs = 0;
  if (vbvis_open(("file:" + path).c_str()) != 0) {
    std::fprintf(stderr, "cannot open %s: %s\n", path.c_str(), vbvis_open_error());
    return run;
  }
  vbvis_tracker_state state{};
  std::int64_t lastFiredUs = -1'000'000'000;
  const std::int64_t endMs = static_cast<std::int64_t>(seconds * 1000);
  const std::int64_t musicEndMs = static_cast<std::int64_t>(musicEnd * 1000);
  for (simulatedMs = 0; simulatedMs <= endMs; ++simulatedMs) {
    const std::int64_t nowUs = vbvis_clock_us();
    if (state.locked)
      for (std::int64_t beat : state.next_beats_us)
        if (beat >= 0 && beat <= nowUs && beat > lastFiredUs + state.period_us / 2) {
          run.beats.push_back(static_cast<double>(nowUs) / 1e6);
          lastFiredUs = beat;
        }
    if (simulatedMs % kUpdateEveryMs == 0) {
      vbvis_tracker_update();
      vbvis_tracker(&state);
    }
    if (simulatedMs == musicEndMs) run.endBpm = state.locked ? state.bpm : 0.0;
    if (trace && simulatedMs % kTraceEveryMs == 0)
      std::fprintf(trace, "%.2f %.2f %d %d %.3f\n", simulatedMs / 1000.0, state.bpm, state.confidence, state.locked,
                   state.locked ? state.next_beats_us[0] / 1e6 : -1.0);
  }
  vbvis_close();
  return run;
}

// aubio's beats for the file, or nothing when aubio is not there.
bool aubioBeats(const std::string& path, std::vector<double>& beats) {
  static const bool present = std::system("command -v aubio >/dev/null 2>&1") == 0;
  if (!present) return false;
  const std::string command = "aubio beat '" + path + "' 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return false;
  std::string text;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) text.append(buffer, n);
  std::istringstream in(text);
  beats = readTimes(in);
  return true;
}

// What a group of tracks (a kind in a condition, a kind in a set) gathers.
struct Group {
  std::vector<double> f, fAny, offBeat, aubioF, aubioAny, errorsMs, locks, after;
  int tempoOk = 0, neverLocked = 0;
};

std::string fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string kindOf(const std::string& name) {
  if (name.size() > 1 && name[1] == 'b') return "band";
  if (name.size() > 1 && name[1] == 'd') return "dance";
  return "drums";
}

void printGroups(const std::map<std::string, Group>& groups) {
  std::printf("\n%-22s %4s %6s %6s %6s %6s %6s %6s %6s %7s %6s %6s %7s %7s\n", "group", "n", "meanF", "minF", "Fany",
              "minFany", "off%", "maxOff", "tempo", "err|95", "after", "lock", "aubioF", "aubioAny");
  for (const auto& [name, g] : groups) {
    std::vector<double> magnitudes;
    for (double e : g.errorsMs) magnitudes.push_back(std::abs(e));
    std::printf("%-22s %4zu %6.3f %6.3f %6.3f %6.3f %6.1f %6.1f %3d/%-2zu %7.1f %6.0f %6s %7s %7s\n", name.c_str(),
                g.f.size(), mean(g.f), *std::min_element(g.f.begin(), g.f.end()), mean(g.fAny),
                *std::min_element(g.fAny.begin(), g.fAny.end()), 100 * mean(g.offBeat),
                100 * *std::max_element(g.offBeat.begin(), g.offBeat.end()), g.tempoOk, g.f.size(),
                quantile(magnitudes, 0.95), quantile(g.after, 1.0),
                g.neverLocked ? "never" : fixed(quantile(g.locks, 1.0), 1).c_str(),
                g.aubioF.empty() ? "-" : fixed(mean(g.aubioF), 3).c_str(),
                g.aubioAny.empty() ? "-" : fixed(mean(g.aubioAny), 3).c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> tracks;
  bool withAubio = true;
  std::string traceDir;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--no-aubio") withAubio = false;
    else if (arg == "--trace" && i + 1 < argc) traceDir = argv[++i];
    else if (fs::is_directory(arg)) {
      for (const auto& entry : fs::directory_iterator(arg))
        if (entry.path().extension() == ".wav") tracks.push_back(entry.path().string());
    } else if (const fs::path ext = fs::path(arg).extension(); ext != ".beats" && ext != ".end") {
      tracks.push_back(arg);  // a shell's TRACK* brings the track's .beats and .end along
    }
  }
  std::sort(tracks.begin(), tracks.end());
  if (tracks.empty()) {
    std::fprintf(stderr, "usage: %s [--no-aubio] [--trace DIR] TRACK.wav... | DIR...\n", argv[0]);
    return 64;
  }
  vbvis_set_clock(&readClock, nullptr);
  std::printf("%-32s %6s %6s %2s %5s %13s %6s %8s %6s %5s %7s %7s\n", "track", "F", "Fany", "", "off%", "bpm (true)",
              "lock_s", "relock_s", "err_ms", "after", "aubioF", "aubioAny");
  std::map<std::string, Group> groups;
  for (const std::string& path : tracks) {
    std::ifstream beatsFile(fs::path(path).replace_extension(".beats"));
    if (!beatsFile) continue;
    const std::vector<double> truth = readTimes(beatsFile);
    const std::string name = fs::path(path).stem().string();
    const double seconds = secondsOf(path);
    double musicEnd = seconds;
    if (std::ifstream endFile(fs::path(path).replace_extension(".end")); endFile) endFile >> musicEnd;
    std::unique_ptr<FILE, int (*)(FILE*)> trace(
        traceDir.empty() ? nullptr : std::fopen((traceDir + "/" + name + ".trace").c_str(), "w"), std::fclose);
    const Run run = track(path, seconds, musicEnd, trace.get());
    std::vector<double> aubio;
    const bool haveAubio = withAubio && aubioBeats(path, aubio);
    if (truth.empty()) {
      std::printf("%-32s beats fired: %zu%s\n", name.c_str(), run.beats.size(),
                  haveAubio ? (" (aubio: " + std::to_string(aubio.size()) + ")").c_str() : "");
      continue;
    }
    const double f = fMeasure(truth, run.beats);
    const LevelScore any = anyLevel(truth, run.beats);
    const double off = offBeatShare(truth, run.beats, musicEnd);
    const double endTruth = 60.0 / medianInterval(truth, truth.size() - 5, 4);
    const bool tempoOk = run.endBpm > 0 && tempoRight(run.endBpm, endTruth);
    const double lock = rightFrom(truth, run.beats, 0.0);
    const double change = tempoChange(truth);
    const double relock = change > 0 ? rightFrom(truth, run.beats, change) : -1.0;
    const std::vector<double> errors = signedErrorsMs(truth, run.beats);
    const auto after = static_cast<double>(
        std::count_if(run.beats.begin(), run.beats.end(), [&](double t) { return t > musicEnd + kWindow; }));
    const double aubioF = haveAubio ? fMeasure(truth, aubio) : -1.0;
    const double aubioAny = haveAubio ? anyLevel(truth, aubio).f : -1.0;
    std::printf("%-32s %6.3f %6.3f %2s %5.1f %5s (%5.1f) %2s %6s %8s %6.1f %5.0f %7s %7s\n", name.c_str(), f, any.f,
                any.level.c_str(), 100 * off, run.endBpm > 0 ? fixed(run.endBpm, 1).c_str() : "--", endTruth,
                tempoOk ? "ok" : "!!", lock >= 0 ? fixed(lock, 1).c_str() : "never",
                change > 0 ? (relock >= 0 ? fixed(relock - change, 1).c_str() : "never") : "-", mean(errors), after,
                haveAubio ? fixed(aubioF, 3).c_str() : "-", haveAubio ? fixed(aubioAny, 3).c_str() : "-");
    std::fflush(stdout);
    const std::string condition = name.substr(name.rfind('-') + 1);
    const std::string kind = kindOf(name);
    const std::string set = name[0] == 'h' ? "held-out" : "tuning";
    for (const std::string& key : {kind + " " + condition, kind + " " + set}) {
      Group& group = groups[key];
      group.f.push_back(f);
      group.fAny.push_back(any.f);
      group.offBeat.push_back(off);
      group.after.push_back(after);
      group.tempoOk += tempoOk ? 1 : 0;
      if (haveAubio) group.aubioF.push_back(aubioF), group.aubioAny.push_back(aubioAny);
      group.errorsMs.insert(group.errorsMs.end(), errors.begin(), errors.end());
      if (lock >= 0) group.locks.push_back(lock);
      else ++group.neverLocked;
    }
  }
  if (!groups.empty()) printGroups(groups);
  vbvis_set_clock(nullptr, nullptr);
  return 0;
}
