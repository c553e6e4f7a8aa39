#include "vantorhost/output/output_path.h"

#include <algorithm>
#include <cstring>

namespace vantorhost {

namespace {

// The earlier of two wake times, -1 standing for none.
std::int64_t earlier(std::int64_t a, std::int64_t b) {
  if (a < 0) return b;
  if (b < 0) return a;
  return std::min(a, b);
}

}  // namespace

OutputPath::OutputPath(const ChannelBuffer& channels, DmxOutput& output, Clock clock)
    : channels_(channels), output_(output), clock_(std::move(clock)), input_(channels.universe(0)) {
  tk::app().addObserver(this);
}

OutputPath::~OutputPath() { tk::app().removeObserver(this); }

void OutputPath::setDelay(std::int64_t ms) {
  delayMs_ = std::max<std::int64_t>(0, ms);
  handOn();
}

void OutputPath::setFade(std::int64_t ms) {
  fade_.setFade(ms, clock_());
  restage(false);
}

void OutputPath::setMaster(int percent) {
  const int clamped = std::clamp(percent, 0, kFullMaster);
  if (clamped == master_) return;
  master_ = clamped;
  restage(true);
}

void OutputPath::setBlackout(bool on) {
  if (on == blackout_) return;
  blackout_ = on;
  restage(true);
}

void OutputPath::setPatch(const FixturePatch& patch, const std::vector<std::int16_t>& driven) {
  if (patch_.follow(patch, driven)) restage(true);
}

void OutputPath::addLayer(OutputLayer& layer) {
  layers_.push_back(&layer);
  restage(false);
}

void OutputPath::removeLayer(const OutputLayer& layer) {
  std::erase(layers_, &layer);
  restage(false);
}

void OutputPath::finish() {
  delayMs_ = 0;
  handOn();  // what is held back comes in
  fade_.finish();
  restage(false);
}

void OutputPath::restage(bool urgent) {
  restage_ = true;
  urgent_ = urgent_ || urgent;
  handOn();
}

void OutputPath::release(const std::uint8_t* channels, std::int64_t nowMs) {
  for (int u = 0; u < 2; ++u) {
    const std::uint8_t* values = channels + u * ChannelBuffer::kUniverseSize;
    if (std::memcmp(values, sent_.universe(u), ChannelBuffer::kUniverseSize) == 0) continue;
    for (int i = 0; i < ChannelBuffer::kUniverseSize; ++i)
      sent_.set(u * ChannelBuffer::kUniverseSize + i + 1, values[i], nowMs);
  }
}

void OutputPath::hold(std::int64_t nowMs) {
  if (held_.size() == kMaxHeld) {
    delayed_ = held_.front().values;
    held_.pop_front();
  }
  Change& change = held_.emplace_back();
  change.atMs = nowMs;
  std::memcpy(change.values.data(), channels_.universe(0), ChannelBuffer::kChannels);
}

bool OutputPath::takeInput(std::int64_t nowMs) {
  bool moved = false;
  const std::array<std::uint64_t, 2> revision{channels_.universeRevision(0), channels_.universeRevision(1)};
  if (revision != taken_) {
    taken_ = revision;
    // Without a delay and nothing held back, the buffer goes on as it stands.
    if (delayMs_ == 0 && held_.empty()) {
      input_ = channels_.universe(0);
      moved = true;
    } else {
      hold(nowMs);
    }
  }
  while (!held_.empty() && held_.front().atMs + delayMs_ <= nowMs) {
    delayed_ = held_.front().values;
    held_.pop_front();
    input_ = delayed_.data();
    moved = true;
  }
  return moved;
}

bool OutputPath::frameDue(std::int64_t nowMs) const {
  const std::int64_t due = nextWakeMs();
  return due >= 0 && due <= nowMs;
}

std::int64_t OutputPath::nextWakeMs() const {
  std::int64_t due = held_.empty() ? -1 : held_.front().atMs + delayMs_;
  if (fade_.falling()) due = earlier(due, lastRenderMs_ + kFrameMs);
  for (const OutputLayer* layer : layers_) due = earlier(due, layer->nextChangeMs(lastRenderMs_));
  return due;
}

void OutputPath::render(std::int64_t nowMs) {
  lastRenderMs_ = nowMs;
  const bool resting =
      patch_.idle() && layers_.empty() && fade_.fadeMs() == 0 && master_ == kFullMaster && !blackout_;
  if (resting) {
    fade_.render(input_, nowMs);  // keeps the fade's idea of what went out
    release(input_, nowMs);
    return;
  }
  std::memcpy(staged_.data(), input_, ChannelBuffer::kChannels);
  patch_.rest(staged_.data());
  for (const OutputLayer* layer : layers_) layer->mergeHtp(staged_, nowMs);
  fade_.render(staged_.data(), nowMs);
  const std::uint8_t* faded = fade_.values();
  for (std::size_t i = 0; i < staged_.size(); ++i)
    staged_[i] = !patch_.dims(i) ? faded[i]
                 : blackout_     ? 0
                                 : static_cast<std::uint8_t>((faded[i] * master_ + kFullMaster / 2) / kFullMaster);
  release(staged_.data(), nowMs);
}

void OutputPath::handOn() {
  const std::int64_t now = clock_();
  for (OutputLayer* layer : layers_) {
    layer->follow(now, delayMs_);
    // A layer's light (a beat) that changes now goes out now, not a DMX frame later.
    const std::int64_t change = layer->nextChangeMs(lastRenderMs_);
    if (change >= 0 && change <= now) urgent_ = true;
  }
  const bool moved = takeInput(now);
  if (moved || restage_ || frameDue(now)) {
    restage_ = false;
    render(now);
  }
  if (urgent_) {
    urgent_ = false;
    output_.hurry();
  }
  output_.service(sent_);
  if (wake_)
    if (const std::int64_t due = nextWakeMs(); due >= 0) wake_(due);
  const std::array<std::uint64_t, 2> shown{sent_.universeRevision(0), sent_.universeRevision(1)};
  if (shown == shown_) return;
  shown_ = shown;
  if (watcher_) watcher_(sent_, now);
}

}  // namespace vantorhost
