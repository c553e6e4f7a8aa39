// beat_tracker_eval TRACK.wav ... | DIR ...
//
// Runs the bridge's beat tracker over each track as a host uses it on the
// simulated clock (the file as the source, vbvis_tracker_update every 10 ms,
// a beat fired on the first millisecond the clock reaches the next predicted
// one) and scores the fired beats against TRACK.beats beside the track (one
// time in seconds per line): F-measure (+-70 ms, beats in the first 5 s not
// counted), the tempo error at the end, the time until the beats are right
// (four in a row), and after a tempo change the time until they are right
// again, and the mean signed error of the beats that hit (fired minus true);
// beside it aubio's F-measure on the same file when `aubio` is installed.
// Per condition, per set (tuning, held-out) and over all: the mean and
// least F, the signed error's mean, 5th and 95th percentile and the 95th
// percentile of its size, and the median and longest time to lock. A
// track whose .beats is empty (silence, noise) reports the number of beats
// fired. bench/music/make_tracks.sh makes the tracks.
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

#include "bridge/vbvis.h"

namespace {

namespace fs = std::filesystem;

constexpr double kWindow = 0.07;
constexpr double kSkip = 5.0;
constexpr int kUpdateEveryMs = 10;

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

// Which of `found` lie within the window of a beat of `truth`, one to one.
std::vector<bool> matched(const std::vector<double>& truth, const std::vector<double>& found) {
  std::vector<bool> hit(found.size(), false), used(truth.size(), false);
  for (std::size_t i = 0; i < found.size(); ++i) {
    auto it = std::lower_bound(truth.begin(), truth.end(), found[i] - kWindow);
    double bestGap = kWindow + 1;
    std::size_t best = truth.size();
    for (; it != truth.end() && *it <= found[i] + kWindow; ++it) {
      const std::size_t j = static_cast<std::size_t>(it - truth.begin());
      if (!used[j] && std::abs(*it - found[i]) < bestGap) bestGap = std::abs(*it - found[i]), best = j;
    }
    if (best < truth.size()) hit[i] = used[best] = true;
  }
  return hit;
}

std::vector<double> after(const std::vector<double>& times, double from) {
  std::vector<double> out;
  for (double t : times)
    if (t >= from) out.push_back(t);
  return out;
}

double fMeasure(const std::vector<double>& truth, const std::vector<double>& found) {
  const std::vector<double> t = after(truth, kSkip), f = after(found, kSkip);
  if (t.empty() || f.empty()) return 0.0;
  const std::vector<bool> hit = matched(t, f);
  const double hits = static_cast<double>(std::count(hit.begin(), hit.end(), true));
  const double precision = hits / f.size(), recall = hits / t.size();
  return hits > 0 ? 2 * precision * recall / (precision + recall) : 0.0;
}

// When the fired beats are right from: the first of four right in a row at or after `from`.
double rightFrom(const std::vector<double>& truth, const std::vector<double>& found, double from) {
  const std::vector<bool> hit = matched(truth, found);
  int run = 0;
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (found[i] < from) continue;
    run = hit[i] ? run + 1 : 0;
    if (run == 4) return found[i - 3];
  }
  return -1.0;
}

double medianInterval(const std::vector<double>& truth, std::size_t from, std::size_t count) {
  std::vector<double> gaps;
  for (std::size_t i = from + 1; i < std::min(truth.size(), from + count + 1); ++i) gaps.push_back(truth[i] - truth[i - 1]);
  if (gaps.empty()) return 0.0;
  std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
  return gaps[gaps.size() / 2];
}

// The time of a step in tempo (more than 8 % between the beats before and after), or -1.
double tempoChange(const std::vector<double>& truth) {
  for (std::size_t i = 4; i + 4 < truth.size(); ++i) {
    const double before = medianInterval(truth, i - 4, 4), next = medianInterval(truth, i, 4);
    if (before > 0 && next > 0 && std::abs(next / before - 1.0) > 0.08) return truth[i];
  }
  return -1.0;
}

// Fired minus true time, in ms, of every fired beat that hits (after the first 5 s).
std::vector<double> signedErrorsMs(const std::vector<double>& truth, const std::vector<double>& found) {
  const std::vector<double> t = after(truth, kSkip), f = after(found, kSkip);
  const std::vector<bool> hit = matched(t, f);
  std::vector<double> errors;
  for (std::size_t i = 0; i < f.size(); ++i)
    if (hit[i]) {
      const auto it = std::min_element(t.begin(), t.end(),
                                       [&](double a, double b) { return std::abs(a - f[i]) < std::abs(b - f[i]); });
      errors.push_back(1000.0 * (f[i] - *it));
    }
  return errors;
}

double mean(const std::vector<double>& values) {
  double sum = 0;
  for (double v : values) sum += v;
  return values.empty() ? 0.0 : sum / static_cast<double>(values.size());
}

// The q-quantile (nearest rank), 0 for none.
double quantile(std::vector<double> values, double q) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<std::size_t>(q * static_cast<double>(values.size())))];
}

struct Run {
  std::vector<double> beats;
  double endBpm = 0.0;
};

Run track(const std::string& path, double seconds) {
  Run run;
  simulatedMs = 0;
  if (vbvis_open(("file:" + path).c_str()) != 0) {
    std::fprintf(stderr, "cannot open %s: %s\n", path.c_str(), vbvis_open_error());
    return run;
  }
  vbvis_tracker_state state{};
  std::int64_t lastFiredUs = -1'000'000'000;
  const std::int64_t endMs = static_cast<std::int64_t>(seconds * 1000);
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
  }
  run.endBpm = state.locked ? state.bpm : 0.0;
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

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> tracks;
  bool withAubio = true;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--no-aubio") withAubio = false;
    else if (fs::is_directory(arg)) {
      for (const auto& entry : fs::directory_iterator(arg))
        if (entry.path().extension() == ".wav") tracks.push_back(entry.path().string());
    } else tracks.push_back(arg);
  }
  std::sort(tracks.begin(), tracks.end());
  if (tracks.empty()) {
    std::fprintf(stderr, "usage: %s [--no-aubio] TRACK.wav... | DIR...\n", argv[0]);
    return 64;
  }
  vbvis_set_clock(&readClock, nullptr);
  std::printf("%-34s %6s %8s %7s %8s %7s %8s\n", "track", "F", "tempo%", "lock_s", "relock_s", "err_ms", "aubio_F");
  // Per group (condition, tuning or held-out, all): F, aubio's F, the
  // signed errors of the beats that hit, and the lock times.
  struct Group {
    std::vector<double> f, aubioF, errorsMs, locks;
    int neverLocked = 0;
  };
  std::map<std::string, Group> groups;
  for (const std::string& path : tracks) {
    std::ifstream beatsFile(fs::path(path).replace_extension(".beats"));
    if (!beatsFile) continue;
    const std::vector<double> truth = readTimes(beatsFile);
    const Run run = track(path, secondsOf(path));
    const std::string name = fs::path(path).stem().string();
    std::vector<double> aubio;
    const bool haveAubio = withAubio && aubioBeats(path, aubio);
    if (truth.empty()) {
      std::printf("%-34s beats fired: %zu%s\n", name.c_str(), run.beats.size(),
                  haveAubio ? (" (aubio: " + std::to_string(aubio.size()) + ")").c_str() : "");
      continue;
    }
    const double f = fMeasure(truth, run.beats);
    const double endTruth = 60.0 / medianInterval(truth, truth.size() - 5, 4);
    const double tempoError = run.endBpm > 0 ? 100.0 * (run.endBpm - endTruth) / endTruth : 100.0;
    const double lock = rightFrom(truth, run.beats, 0.0);
    const double change = tempoChange(truth);
    const double relock = change > 0 ? rightFrom(truth, run.beats, change) : -1.0;
    const std::vector<double> errors = signedErrorsMs(truth, run.beats);
    const double aubioF = haveAubio ? fMeasure(truth, aubio) : -1.0;
    std::printf("%-34s %6.3f %8.2f %7.1f %8s %7.1f %8s\n", name.c_str(), f, tempoError, lock,
                change > 0 ? (relock >= 0 ? std::to_string(relock - change).substr(0, 5).c_str() : "never") : "-",
                mean(errors), haveAubio ? std::to_string(aubioF).substr(0, 5).c_str() : "-");
    std::fflush(stdout);
    const std::string variant = name.substr(name.rfind('-') + 1);
    const std::string set = name[0] == 'h' ? "held-out" : "tuning";
    for (const std::string& key : {variant, set, std::string("all")}) {
      Group& group = groups[key];
      group.f.push_back(f);
      if (haveAubio) group.aubioF.push_back(aubioF);
      group.errorsMs.insert(group.errorsMs.end(), errors.begin(), errors.end());
      if (lock >= 0) group.locks.push_back(lock);
      else ++group.neverLocked;
    }
  }
  std::printf("\n%-12s %6s %6s %6s %8s %8s %8s %8s %8s %7s %9s\n", "group", "tracks", "meanF", "minF", "err_ms",
              "err_p5", "err_p95", "|err|p95", "lock_med", "lock_max", "aubio_F");
  for (auto& [name, group] : groups) {
    std::vector<double> magnitudes;
    for (double e : group.errorsMs) magnitudes.push_back(std::abs(e));
    std::printf("%-12s %6zu %6.3f %6.3f %8.1f %8.1f %8.1f %8.1f %8.1f %7s %9s\n", name.c_str(), group.f.size(),
                mean(group.f), *std::min_element(group.f.begin(), group.f.end()), mean(group.errorsMs),
                quantile(group.errorsMs, 0.05), quantile(group.errorsMs, 0.95), quantile(magnitudes, 0.95),
                quantile(group.locks, 0.5),
                group.neverLocked ? "never" : std::to_string(quantile(group.locks, 1.0)).substr(0, 4).c_str(),
                group.aubioF.empty() ? "-" : std::to_string(mean(group.aubioF)).substr(0, 5).c_str());
  }
  vbvis_set_clock(nullptr, nullptr);
  return 0;
}
