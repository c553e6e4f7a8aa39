// Measures the gain ahead of the bridge's analysis on material it makes
// itself (fluidsynth grooves, a sox pattern, pink noise, the demo track):
//  1. a show (bass-mids-highs.show by default) over each track at two
//     levels 14 dB apart, at a fixed 0 dB and automatic: each channel's mean
//     after the first 8 s;
//  2. the gate: a quiet track, then 30 s of pink noise at -60 dBFS: the
//     highest bar value from 5 s into the noise on, and the gain;
//  3. the step responses: the input falling and rising by 20 dB (pink
//     noise and music), and a quiet track from 0 dB; the gain's swing;
//  4. quiet players and sparse material: each track at -60 and -49 dBFS
//     from 0 dB, and clicks at 60 and 70 BPM peaking at -4.7 dBFS.
// Usage: gain_measure [SHOW] [FOLDER]; the material stays in FOLDER when given.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/gain/gain_curve.h"
#include "bench/gain/material.h"
#include "bench/gain/show_run.h"
#include "bridge/capture/demo_track.h"

using namespace gainbench;

namespace {

constexpr double kLoudDb = -18.0, kQuietDb = -32.0;  // RMS of the two levels
constexpr double kTrackSeconds = 60;
constexpr double kPlaySeconds = 40;  // of the two levels
constexpr std::int64_t kSkipMs = 8000;
constexpr int kBars[] = {1, 2, 3};
constexpr int kChannels[] = {1, 2, 3, 4, 5, 6};

struct Track {
  std::string name, file;
  bool tuning;
};

// The built-in demo track written out, so it can be played at any level.
std::string demoFile(const std::string& folder, double seconds) {
  const std::string path = folder + "/demo.wav";
  SF_INFO info{};
  info.samplerate = vbvis::DemoTrack::kRate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) throw std::runtime_error("cannot write " + path);
  vbvis::DemoTrack demo;
  std::vector<float> frames(2 * static_cast<std::size_t>(seconds * vbvis::DemoTrack::kRate));
  demo.read(frames.data(), frames.size() / 2);
  sf_writef_float(file, frames.data(), static_cast<sf_count_t>(frames.size() / 2));
  sf_close(file);
  return path;
}

std::vector<Track> makeTracks(Material& material, const std::string& folder) {
  std::vector<Track> tracks;
  tracks.push_back({"sox-pattern", material.pattern(kTrackSeconds, kLoudDb), true});
  for (const Groove& g : grooves()) tracks.push_back({g.name, material.groove(g, kTrackSeconds, kLoudDb), g.tuning});
  tracks.push_back({"demo", material.atLevel(demoFile(folder, kTrackSeconds), kLoudDb), true});
  return tracks;
}

void twoLevels(const std::vector<Track>& tracks, Material& material, const std::string& show, const std::string& folder) {
  std::printf("\n== Two levels 14 dB apart (RMS %.0f and %.0f dBFS): mean of each channel after %lld s ==\n", kLoudDb,
              kQuietDb, static_cast<long long>(kSkipMs / 1000));
  std::printf("%-12s %-6s %-6s", "track", "set", "gain");
  for (int c : kChannels) std::printf("   ch%d loud/quiet/diff", c);
  std::printf("\n");
  for (const Track& t : tracks) {
    const std::string quiet = material.atLevel(t.file, kQuietDb, kPlaySeconds);
    for (const bool automatic : {false, true}) {
      const std::int64_t ms = static_cast<std::int64_t>(kPlaySeconds * 1000);
      const ChannelValues loud = runShow(show, "file:" + t.file, ms, automatic, 0.0, folder);
      const ChannelValues soft = runShow(show, "file:" + quiet, ms, automatic, 0.0, folder);
      std::printf("%-12s %-6s %-6s", t.name.c_str(), t.tuning ? "tune" : "held", automatic ? "auto" : "0 dB");
      for (int c : kChannels) {
        const double a = loud.mean(c, kSkipMs), b = soft.mean(c, kSkipMs);
        std::printf("   %5.1f/%5.1f/%5.1f", a, b, a - b);
      }
      std::printf("\n");
    }
  }
}

void gate(const std::vector<Track>& tracks, Material& material, const std::string& show, const std::string& folder) {
  std::printf("\n== Gate: 20 s of a track at %.0f dBFS RMS, then 30 s of pink noise at -60 dBFS ==\n", kQuietDb);
  std::printf("%-12s %9s %9s %9s %9s   highest bar value from 5 s into the noise (ch1 ch2 ch3)\n", "track",
              "gain@end", "max@noise", "gain@+5s", "gain@+30s");
  const std::string noise = material.pinkNoise(30, -60.0);
  for (const Track& t : tracks) {
    const std::string file = material.joined({material.atLevel(t.file, kQuietDb, 20), noise}, "gate-" + t.name + ".wav");
    const std::vector<GainPoint> curve = gainCurve("file:" + file, 50000);
    double atEnd = 0, highest = -100, at5 = 0, atLast = curve.back().gainDb;
    for (const GainPoint& p : curve) {
      if (p.ms <= 20000) atEnd = p.gainDb;
      else highest = std::max(highest, p.gainDb);
      if (p.ms <= 25000) at5 = p.gainDb;
    }
    const ChannelValues values = runShow(show, "file:" + file, 50000, true, 0.0, folder);
    std::printf("%-12s %9.1f %9.1f %9.1f %9.1f  ", t.name.c_str(), atEnd, highest, at5, atLast);
    for (int c : kBars) std::printf(" %4d", values.highest(c, 25000));
    std::printf("\n");
  }
}

void printStep(const std::string& what, const StepResponse& r) {
  std::printf("%-46s %7.1f %7.1f %8.2f %9.2f %9.2f\n", what.c_str(), r.beforeDb, r.afterDb, r.reachSeconds,
              r.settleSeconds, r.overshootDb);
}

// The level falls by 20 dB at 20 s and comes back at 40 s, while the music
// goes on; judged against the same music at a steady level.
void stepsOf(const std::string& name, const std::string& steady, Material& material) {
  const std::vector<GainPoint> target = gainCurve("file:" + steady, 60000);
  const std::vector<GainPoint> curve = gainCurve("file:" + material.stepped(steady, {0, -20, 0}, 20), 60000);
  printStep(name + " falls by 20 dB (gain up)", stepResponse(curve, target, 20, 20000, 40000));
  printStep(name + " rises by 20 dB (gain down)", stepResponse(curve, target, 0, 40000, 60000));
}

void steps(const std::vector<Track>& tracks, Material& material) {
  std::printf("\n== Step responses of the automatic gain against its target, the gain the same music gets at a\n"
              "   steady level: time until first within 1 dB (reach), until within 1 dB for good (settle), overshoot ==\n");
  std::printf("%-46s %7s %7s %8s %9s %9s\n", "input (from -20 dBFS RMS)", "from dB", "to dB", "reach s", "settle s",
              "overshoot");
  stepsOf("pink noise", material.pinkNoise(60, -20.0), material);
  for (const Track& t : tracks) stepsOf(t.name, material.atLevel(t.file, -20.0), material);

  std::printf("\n%-46s %7s %7s %8s %9s %9s %9s\n", "track at -30 dBFS RMS, gain from 0 dB", "from dB", "to dB",
              "reach s", "settle s", "overshoot", "swing dB");
  for (const Track& t : tracks) {
    // Played twice: the second time, settled, is the target of the first.
    const std::string quiet = material.atLevel(t.file, -30.0);
    const std::vector<GainPoint> twice = gainCurve("file:" + material.joined({quiet, quiet}, "twice.wav"), 120000);
    const StepResponse r = stepResponse(twice, shifted(twice, 60000), 0, 0, 60000);
    std::printf("%-46s %7.1f %7.1f %8.2f %9.2f %9.2f %9.2f\n", t.name.c_str(), r.beforeDb, r.afterDb, r.reachSeconds,
                r.settleSeconds, r.overshootDb, swingDb(shifted(twice, 70000), 0));
  }
}

// A quiet player: the gain from 0 dB at 10, 20 and 45 s, against the one
// that brings the music to -16 dBFS (at most 36 dB), and the highest bar
// value after 10 s. Sparse clicks: after 10 s the gain's swing, the largest
// move between two ticks, and the highest gain against what the peak rule
// allows (the peak 1 dB under full scale).
void quietAndSparse(const std::vector<Track>& tracks, Material& material, const std::string& show,
                    const std::string& folder) {
  std::printf("\n== Quiet players: each track from 0 dB, the gain at 10, 20 and 45 s, and the highest bar value after 10 s ==\n");
  std::printf("%-12s %7s %7s %7s %7s %7s   ch1 ch2 ch3\n", "track", "dBFS", "wanted", "@10s", "@20s", "@45s");
  const auto gainAt = [](const std::vector<GainPoint>& curve, std::int64_t ms) {
    double db = 0;
    for (const GainPoint& p : curve)
      if (p.ms <= ms) db = p.gainDb;
    return db;
  };
  for (const double level : {-60.0, -49.0})
    for (const Track& t : tracks) {
      const std::string file = material.atLevel(t.file, level, 45);
      const std::vector<GainPoint> curve = gainCurve("file:" + file, 45000);
      const ChannelValues values = runShow(show, "file:" + file, 45000, true, 0.0, folder);
      std::printf("%-12s %7.0f %7.1f %7.1f %7.1f %7.1f  ", t.name.c_str(), level, std::min(36.0, -16.0 - level),
                  gainAt(curve, 10000), gainAt(curve, 20000), gainAt(curve, 45000));
      for (int c : kBars) std::printf(" %3d", values.highest(c, 10000));
      std::printf("\n");
    }
  std::printf("\n== A quiet player (-60 dBFS, 20 s), then 30 s of pink noise at -60 dBFS: the gain and the highest bar value "
              "from 5 s into the noise ==\n");
  std::printf("%-12s %9s %9s %9s   ch1 ch2 ch3\n", "track", "gain@end", "gain@+5s", "gain@+30s");
  const std::string noise = material.pinkNoise(30, -60.0);
  for (const Track& t : tracks) {
    const std::string file = material.joined({material.atLevel(t.file, -60, 20), noise}, "quiet-" + t.name + ".wav");
    const std::vector<GainPoint> curve = gainCurve("file:" + file, 50000);
    const ChannelValues values = runShow(show, "file:" + file, 50000, true, 0.0, folder);
    std::printf("%-12s %9.1f %9.1f %9.1f  ", t.name.c_str(), gainAt(curve, 20000), gainAt(curve, 25000),
                gainAt(curve, 50000));
    for (int c : kBars) std::printf(" %3d", values.highest(c, 25000));
    std::printf("\n");
  }
  std::printf("\n== Sparse clicks peaking at -4.7 dBFS (the peak rule allows 3.7 dB): after 10 s ==\n");
  std::printf("%-12s %9s %9s %9s %14s\n", "clicks", "lowest", "highest", "swing", "largest move");
  for (const double bpm : {30.0, 60.0, 70.0}) {
    const std::vector<GainPoint> curve = gainCurve("file:" + material.clicks(bpm, 40, -4.7), 40000);
    double low = 1e9, high = -1e9, move = 0;
    for (std::size_t i = 1; i < curve.size(); ++i) {
      if (curve[i].ms <= 10000) continue;
      low = std::min(low, curve[i].gainDb);
      high = std::max(high, curve[i].gainDb);
      move = std::max(move, std::fabs(curve[i].gainDb - curve[i - 1].gainDb));
    }
    std::printf("%-12s %9.1f %9.1f %9.1f %14.1f\n", (std::to_string(static_cast<int>(bpm)) + " BPM").c_str(), low, high,
                high - low, move);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string show = argc > 1 ? argv[1] : SONVERO_SOURCE_DIR "/resources/shows/bass-mids-highs.show";
  const bool keep = argc > 2;
  const std::filesystem::path folder =
      keep ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path() / "sonvero-gain-measure";
  std::filesystem::create_directories(folder);
  try {
    Material material(folder.string());
    const std::vector<Track> tracks = makeTracks(material, folder.string());
    if (std::getenv("GAIN_MEASURE_ONLY_QUIET") == nullptr) twoLevels(tracks, material, show, folder.string());
    if (std::getenv("GAIN_MEASURE_ONLY_QUIET") == nullptr) {
      gate(tracks, material, show, folder.string());
      steps(tracks, material);
    }
    quietAndSparse(tracks, material, show, folder.string());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gain_measure: %s\n", e.what());
    return 1;
  }
  if (!keep) std::filesystem::remove_all(folder);
  return 0;
}
