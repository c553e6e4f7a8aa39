#include "bridge/bridge.h"

#include "bridge/beat/tracker_tap.h"
#include "bridge/capture/capture_feed.h"
#include "bridge/capture/clocked_feed.h"
#include "bridge/capture/demo_track.h"
#include "bridge/capture/file_frames.h"
#include "bridge/capture/paced_capture.h"
#include "bridge/capture/pulse_capture.h"
#include "bridge/capture/steady_clock.h"

namespace vbvis {

namespace {

constexpr std::string_view kPulsePrefix = "pulse:";
constexpr std::string_view kFilePrefix = "file:";

// A live source: captured on a thread of its own, which also runs the beat
// tracker over its audio and publishes on `board`.
std::unique_ptr<AudioFeed> liveFeed(std::unique_ptr<Capture> capture, std::int64_t nowUs, TrackerBoard& board) {
  auto tap = std::make_unique<TrackerTap>(capture->sampleRate(), board);
  return std::make_unique<CaptureFeed>(std::move(capture), nowUs, std::move(tap));
}

// "file:PATH"; "file:///abs" is taken as "/abs" too.
std::string filePath(const std::string& uri) {
  std::string path = uri.substr(kFilePrefix.size());
  if (path.starts_with("//")) path.erase(0, 2);
  return path;
}

}  // namespace

Bridge& Bridge::instance() {
  static Bridge bridge;
  return bridge;
}

std::int64_t Bridge::realTimeUs() { return steadyNowUs(); }

std::int64_t Bridge::bridgeClockUs() const { return clock_ ? clock_(clockContext_) * 1000 : realTimeUs(); }

std::unique_ptr<AudioFeed> Bridge::makeFeed(const std::string& uri, std::string& why) {
  std::unique_ptr<FrameGenerator> generator;
  if (uri == "pulse" || uri.starts_with(kPulsePrefix)) {
    std::string device = uri == "pulse" ? PulseCapture::kDefaultMonitor : uri.substr(kPulsePrefix.size());
    if (device.empty()) {
      why = "no source name after pulse:";
      return nullptr;
    }
    return liveFeed(std::make_unique<PulseCapture>(std::move(device)), realTimeUs(), tracker_);
  }
  // A file loops while it plays in real time; on the simulated clock it
  // plays once, so a script hears a file exactly as long as it is.
  if (uri.starts_with(kFilePrefix)) generator = FileFrames::open(filePath(uri), !clock_, &why);
  else if (uri == "demo") generator = std::make_unique<DemoTrack>();
  else why = "not a source this program knows (pulse, pulse:NAME, file:PATH, demo, silence)";
  if (!generator) return nullptr;
  if (clock_) return std::make_unique<ClockedFeed>(std::move(generator), bridgeClockUs(), &tracker_);
  return liveFeed(std::make_unique<PacedCapture>(std::move(generator)), realTimeUs(), tracker_);
}

bool Bridge::open(const std::string& uri) {
  Kind kind = Kind::Analysed;
  std::unique_ptr<AudioFeed> feed;
  openError_.clear();
  if (uri == "script") kind = Kind::Script;
  else if (uri == "silence") kind = Kind::Silence;
  else if (!(feed = makeFeed(uri, openError_))) return false;
  // The old capture stops before the new one starts.
  feed_.reset();
  tracker_.clear();
  feed_ = std::move(feed);
  kind_ = kind;
  uri_ = uri;
  analysed_ = false;
  analysis_ = Analysis{};
  peakLevel_ = -1;
  gain_.newSource();
  // A fresh analyzer and level: nothing of the old source's audio leaks into the new one.
  if (feed_) analyzer_ = std::make_unique<SpectrumAnalyzer>(feed_->sampleRate());
  return true;
}

SourceState::Code Bridge::state(std::string& text) const {
  if (const SourceState* source = feed_ ? feed_->state() : nullptr) return source->get(text);
  text = uri_;
  return SourceState::Code::Playing;
}

void Bridge::close() {
  feed_.reset();
  tracker_.clear();
  kind_ = Kind::Silence;
  uri_ = "silence";
  analysed_ = false;
  analysis_ = Analysis{};
  peakLevel_ = -1;
  gain_.newSource();
}

void Bridge::setClock(ClockFn clock, void* context) {
  clock_ = clock;
  clockContext_ = context;
}

void Bridge::updateTracker() {
  if (feed_ && feed_->followsBridgeClock()) feed_->track(bridgeClockUs());
}

const Analysis& Bridge::current() {
  if (!feed_) return analysis_;
  const std::int64_t now = feed_->followsBridgeClock() ? bridgeClockUs() : realTimeUs();
  if (analysed_ && now >= analysedAtUs_ && now - analysedAtUs_ < kReuseWithinUs) return analysis_;
  const bool continuous = feed_->take(frames_, now);
  // frames_ keep the audio as the source gave it; the analysis takes it through the gain.
  analysis_ = analyzer_->analyse(gain_.apply(frames_, feed_->sampleRate()), continuous);
  analysed_ = true;
  analysedAtUs_ = now;
  return analysis_;
}

}  // namespace vbvis
