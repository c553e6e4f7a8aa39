#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bridge/analysis/analysis.h"
#include "bridge/analysis/spectrum_analyzer.h"
#include "bridge/beat/tracker_board.h"
#include "bridge/capture/audio_feed.h"
#include "bridge/gain/gain_stage.h"

namespace vbvis {

using ClockFn = std::int64_t (*)(void* context);

// The bridge's state behind its C functions: the chosen source, the last
// analysis and the values the script runner sets. Called from one thread.
class Bridge {
 public:
  static Bridge& instance();

  // Takes the source `uri`; false (and the old source kept) when the URI is
  // not understood or its file cannot be read, with the reason in openError().
  bool open(const std::string& uri);
  void close();
  const std::string& uri() const { return uri_; }
  const std::string& openError() const { return openError_; }
  // How the current source fares, and a line about it.
  SourceState::Code state(std::string& text) const;
  void setClock(ClockFn clock, void* context);

  // The analysis for now: a new one when the last is 20 ms old or older
  // on the source's clock, else the last one, so the reads of one tick agree.
  const Analysis& current();

  // The beat tracker's latest state (any thread), and running it over the
  // audio due now where the source follows the simulated clock.
  const TrackerBoard& tracker() const { return tracker_; }
  TrackerBoard& tracker() { return tracker_; }
  void updateTracker();
  std::int64_t clockUs() const { return bridgeClockUs(); }

  enum class Kind { Silence, Script, Analysed };
  Kind kind() const { return kind_; }

  struct ScriptValues {
    std::int16_t count = 0;
    std::string text;
    std::int16_t left = 0, right = 0;
  };
  ScriptValues& script() { return script_; }

  // The level the plug-in read, kept as the highest since the host last asked.
  std::int16_t noteLevel(std::int16_t level) {
    if (level > peakLevel_) peakLevel_ = level;
    return level;
  }
  std::int16_t takePeakLevel() { return std::exchange(peakLevel_, std::int16_t{-1}); }

  static constexpr std::int64_t kReuseWithinUs = 20'000;

  // The gain ahead of the analysis: the user's, kept across sources.
  GainStage& gain() { return gain_; }

 private:
  Bridge() = default;
  std::unique_ptr<AudioFeed> makeFeed(const std::string& uri, std::string& why);
  std::int64_t bridgeClockUs() const;
  static std::int64_t realTimeUs();

  Kind kind_ = Kind::Script;
  std::string uri_ = "script";
  std::string openError_;
  ScriptValues script_;
  ClockFn clock_ = nullptr;
  void* clockContext_ = nullptr;

  std::unique_ptr<AudioFeed> feed_;
  std::unique_ptr<SpectrumAnalyzer> analyzer_;
  std::vector<float> frames_;
  Analysis analysis_;
  std::int16_t peakLevel_ = -1;
  TrackerBoard tracker_;
  bool analysed_ = false;
  std::int64_t analysedAtUs_ = 0;
  GainStage gain_;
};

}  // namespace vbvis
