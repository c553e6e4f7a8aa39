#include "bench/click_latency/click_player.h"

#include <algorithm>
#include <cmath>

#include "tests/support/steady_ns.h"

ClickPlayer::ClickPlayer(Options options)
    : options_(std::move(options)),
      clickFrames_(std::max<std::int64_t>(1, std::llround(options_.clickMs * PulseStreamClient::kRate / 1000.0))) {}

bool ClickPlayer::start(std::string& error) {
  return client_.start("clicks", [this](pa_stream* stream) {
    pa_stream_set_write_callback(
        stream, [](pa_stream*, size_t bytes, void* self) { static_cast<ClickPlayer*>(self)->write(bytes); }, this);
    pa_buffer_attr attr{};
    attr.maxlength = attr.prebuf = attr.minreq = attr.fragsize = static_cast<uint32_t>(-1);
    attr.tlength = static_cast<uint32_t>(
        pa_usec_to_bytes(static_cast<pa_usec_t>(options_.latencyMs) * 1000, &PulseStreamClient::format()));
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING |
                                                      PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_NOT_MONOTONIC);
    return pa_stream_connect_playback(stream, options_.sink.empty() ? nullptr : options_.sink.c_str(), &attr, flags,
                                      nullptr, nullptr);
  }, error);
}

// Runs on the player thread whenever the server asks for more audio; fed
// without a gap, so the stream never underruns or restarts.
void ClickPlayer::write(size_t bytes) {
  const std::int64_t frames = static_cast<std::int64_t>(bytes / (2 * sizeof(float)));
  if (frames <= 0) return;
  buffer_.assign(static_cast<std::size_t>(2 * frames), 0.0f);
  const std::int64_t first = writeFrame_, end = writeFrame_ + frames;
  std::lock_guard lock(mutex_);
  Click* starting = nullptr;
  for (Click& c : clicks_) {
    const std::int64_t from = std::max(c.startFrame, first), to = std::min(c.startFrame + clickFrames_, end);
    for (std::int64_t f = from; f < to; ++f) {
      buffer_[static_cast<std::size_t>(2 * (f - first))] = options_.amplitude;
      buffer_[static_cast<std::size_t>(2 * (f - first) + 1)] = options_.amplitude;
    }
    if (c.startFrame >= first && c.startFrame < end) starting = &c;
  }
  pa_stream* stream = client_.stream();
  if (starting) {
    // The latency is that of the end of what was written so far, which is
    // where this buffer begins.
    pa_usec_t latency = 0;
    int negative = 0;
    const bool known = pa_stream_get_latency(stream, &latency, &negative) == 0;
    const std::int64_t now = steadyNs();
    starting->writtenNs = now;
    if (known) {
      const std::int64_t lat = negative ? -static_cast<std::int64_t>(latency) : static_cast<std::int64_t>(latency);
      starting->latencyUs = lat;
      starting->playedNs =
          now + lat * 1000 + (starting->startFrame - first) * 1'000'000'000LL / PulseStreamClient::kRate;
    }
  }
  pa_stream_write(stream, buffer_.data(), buffer_.size() * sizeof(float), nullptr, 0, PA_SEEK_RELATIVE);
  writeFrame_ = end;
}

void ClickPlayer::queueClick(double afterMs) {
  PulseStreamClient::Lock loop(client_);
  std::lock_guard lock(mutex_);
  const std::int64_t base = clicks_.empty() ? writeFrame_ : std::max(writeFrame_, clicks_.back().startFrame);
  Click c;
  c.startFrame = base + std::llround(afterMs * PulseStreamClient::kRate / 1000.0);
  clicks_.push_back(c);
}

std::vector<ClickPlayer::Click> ClickPlayer::clicks() {
  PulseStreamClient::Lock loop(client_);
  std::lock_guard lock(mutex_);
  return clicks_;
}

std::string ClickPlayer::bufferReport() {
  PulseStreamClient::Lock loop(client_);
  pa_stream* stream = client_.stream();
  std::string text = "player stream: ";
  if (const pa_buffer_attr* a = pa_stream_get_buffer_attr(stream)) {
    const pa_sample_spec& format = PulseStreamClient::format();
    text += "tlength " + std::to_string(pa_bytes_to_usec(a->tlength, &format) / 1000) + " ms, minreq " +
            std::to_string(pa_bytes_to_usec(a->minreq, &format) / 1000) + " ms";
  }
  pa_usec_t latency = 0;
  int negative = 0;
  if (pa_stream_get_latency(stream, &latency, &negative) == 0)
    text += ", latency now " + std::to_string(latency / 1000) + "." + std::to_string(latency / 100 % 10) + " ms";
  return text;
}
