#include "bridge/beat/onset_strength.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "bridge/maths/one_pole.h"

namespace vbvis {

namespace {

constexpr double kHopSeconds = 1.0 / 94.0;
constexpr double kLowestHz = 30.0;
constexpr double kHighestHz = 16000.0;
constexpr double kBandsPerOctave = 4.0;
// Upper edges of the groups, and each group's weight: the kick leads.
constexpr double kGroupTopHz[OnsetStrength::kGroups - 1] = {150.0, 500.0, 2500.0};
constexpr float kGroupWeight[OnsetStrength::kGroups] = {1.3f, 1.0f, 1.0f, 0.8f};
constexpr double kGroupMeanSeconds = 4.0;
constexpr float kGroupFloor = 0.3f;
// A group that rarely rises (a steady tone's odd waver) is not lifted to the
// others' scale: its mean counts as at least this.
constexpr float kLeastGroupMean = 0.01f;
// The level a band is measured against: rises within about 20 ms, falls
// over about 3 s, never below this far under the loudest band's, nor below
// a level that only silence has.
constexpr double kAttackSeconds = 0.02;
constexpr double kReleaseSeconds = 3.0;
constexpr float kRelativeFloor = 0.003f;  // -50 dB
constexpr float kAbsoluteFloor = 1e-7f;
constexpr float kCompression = 10.0f;
// Rises smaller than this (about 5 % in magnitude) are no onsets: a steady
// tone wavers that much from hop to hop, and would otherwise beat.
constexpr float kLeastRise = 0.2f;
// Samples are limited to this: anything larger is damage, not music.
constexpr float kSampleLimit = 4.0f;
// The low end (the kick and the bass), its level followed over seconds.
constexpr double kLowTopHz = 150.0;
constexpr double kLowMeanSeconds = 4.0;
// Where harmony is read: below 300 Hz a bin spans more than a semitone,
// above 4 kHz there is mostly noise and cymbals.
constexpr double kChromaLowestHz = 300.0;
constexpr double kChromaHighestHz = 4000.0;

int hopFor(int rate) {
  const double ideal = rate * kHopSeconds;
  int hop = 64;
  while (hop < 4096 && std::abs(2.0 * hop - ideal) < std::abs(hop - ideal)) hop *= 2;
  return hop;
}

}  // namespace

OnsetStrength::OnsetStrength(int sampleRate)
    : rate_(sampleRate),
      hop_(hopFor(sampleRate)),
      size_(2 * hop_),
      fft_(kiss_fftr_alloc(size_, 0, nullptr, nullptr)),
      window_(static_cast<std::size_t>(size_)),
      input_(static_cast<std::size_t>(size_), 0.0f),
      windowed_(static_cast<std::size_t>(size_)),
      bins_(static_cast<std::size_t>(size_ / 2 + 1)) {
  if (!fft_) throw std::runtime_error("cannot set up the FFT");
  // The magnitude of a full-scale sine in its bin is size/4 through the
  // Hann window: scaled so that it reads 1.
  const double scale = 4.0 / size_;
  for (int n = 0; n < size_; ++n)
    window_[static_cast<std::size_t>(n)] =
        static_cast<float>(scale * (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * n / size_)));

  const double binHz = static_cast<double>(rate_) / size_;
  const double top = std::min(kHighestHz, 0.45 * rate_);
  int first = std::max(1, static_cast<int>(std::lround(kLowestHz / binHz)));
  for (double upper = kLowestHz * std::exp2(1.0 / kBandsPerOctave); first * binHz < top;
       upper *= std::exp2(1.0 / kBandsPerOctave)) {
    const int last = std::min(static_cast<int>(std::floor(std::min(upper, top) / binHz)), size_ / 2);
    if (last < first) continue;
    const double centre = 0.5 * (first + last) * binHz;
    int group = 0;
    while (group < kGroups - 1 && centre >= kGroupTopHz[group]) ++group;
    bands_.push_back(Band{first, last, group});
    magnitudes_.push_back(0.0f);
    ++groupSize_[static_cast<std::size_t>(group)];
    first = last + 1;
  }
  const double fps = framesPerSecond();
  // One step a hop, the time constants in hops.
  attack_ = static_cast<float>(onePoleShare(1.0, kAttackSeconds * fps));
  release_ = static_cast<float>(onePoleShare(1.0, kReleaseSeconds * fps));
  groupRelease_ = static_cast<float>(onePoleShare(1.0, kGroupMeanSeconds * fps));
  lowRelease_ = static_cast<float>(onePoleShare(1.0, kLowMeanSeconds * fps));
  lowTop_ = std::max(1, static_cast<int>(std::floor(kLowTopHz / binHz)));
  chromaFirst_ = static_cast<int>(std::ceil(kChromaLowestHz / binHz));
  for (int k = chromaFirst_; k * binHz <= std::min(kChromaHighestHz, 0.45 * rate_); ++k) {
    const int semitones = static_cast<int>(std::lround(12.0 * std::log2(k * binHz / 440.0)));
    pitchClassOf_.push_back(((semitones % kPitchClasses) + kPitchClasses) % kPitchClasses);
  }
}

OnsetStrength::~OnsetStrength() { kiss_fftr_free(fft_); }

void OnsetStrength::push(const float* mono, std::size_t count, std::vector<float>& onsets) {
  std::vector<Frame> frames;
  push(mono, count, frames);
  for (const Frame& f : frames) onsets.push_back(f.onset);
}

void OnsetStrength::push(const float* mono, std::size_t count, std::vector<Frame>& frames) {
  const std::size_t size = static_cast<std::size_t>(size_);
  while (count > 0) {
    // Append up to the end of the current hop.
    const std::size_t take = std::min(count, static_cast<std::size_t>(hop_ - filled_));
    float* slot = input_.data() + (size - static_cast<std::size_t>(hop_)) + static_cast<std::size_t>(filled_);
    for (std::size_t i = 0; i < take; ++i) {
      const float s = mono[i];
      slot[i] = std::isfinite(s) ? std::clamp(s, -kSampleLimit, kSampleLimit) : 0.0f;
    }
    mono += take;
    count -= take;
    filled_ += static_cast<int>(take);
    if (filled_ < hop_) break;
    frames.push_back(frame());
    // The second half of the window becomes the first.
    std::copy(input_.begin() + hop_, input_.end(), input_.begin());
    filled_ = 0;
  }
}

OnsetStrength::Frame OnsetStrength::frame() {
  Frame out;
  double energy = 0.0;
  for (std::size_t n = 0; n < input_.size(); ++n) {
    windowed_[n] = input_[n] * window_[n];
    energy += static_cast<double>(input_[n]) * input_[n];
  }
  out.levelDb = energy > 0.0 ? std::max(-120.0f, static_cast<float>(10.0 * std::log10(energy / input_.size()))) : -120.0f;
  kiss_fftr(fft_, windowed_.data(), bins_.data());
  lowAndChroma(out);

  // Each band's RMS magnitude per bin, and the loudest band's level.
  float loudest = 0.0f;
  for (std::size_t b = 0; b < bands_.size(); ++b) {
    Band& band = bands_[b];
    float power = 0.0f;
    for (int k = band.first; k <= band.last; ++k) {
      const kiss_fft_cpx& c = bins_[static_cast<std::size_t>(k)];
      power += c.r * c.r + c.i * c.i;
    }
    magnitudes_[b] = std::sqrt(power / static_cast<float>(band.last - band.first + 1));
    band.level += (magnitudes_[b] > band.level ? attack_ : release_) * (magnitudes_[b] - band.level);
    loudest = std::max(loudest, band.level);
  }

  // The rises of the compressed magnitudes since the previous hop, per group.
  std::array<float, kGroups> rise{};
  const float floor = std::max(kAbsoluteFloor, kRelativeFloor * loudest);
  for (std::size_t b = 0; b < bands_.size(); ++b) {
    Band& band = bands_[b];
    const float compressed = std::log1p(kCompression * magnitudes_[b] / std::max(band.level, floor));
    rise[static_cast<std::size_t>(band.group)] += std::max(0.0f, compressed - band.previous - kLeastRise);
    band.previous = compressed;
  }
  // Each group against its own running mean, so that every group has its
  // say whatever the balance of the mix (a loud bass line must not drown
  // the snare that marks the beat); a group whose mean is far below the
  // others' is not lifted into its noise.
  float meanOfMeans = 0.0f;
  // At first the plain mean of the frames so far, then the running one.
  ++frames_;
  const float follow = std::max(groupRelease_, 1.0f / static_cast<float>(frames_));
  for (std::size_t g = 0; g < kGroups; ++g) {
    if (groupSize_[g] == 0) continue;
    rise[g] /= static_cast<float>(groupSize_[g]);
    groupMean_[g] += follow * (rise[g] - groupMean_[g]);
    meanOfMeans += groupMean_[g] / kGroups;
  }
  for (std::size_t g = 0; g < kGroups; ++g)
    if (groupSize_[g] > 0)
      out.onset += kGroupWeight[g] * rise[g] / std::max({groupMean_[g], kGroupFloor * meanOfMeans, kLeastGroupMean});
  return out;
}

void OnsetStrength::lowAndChroma(Frame& out) {
  const auto magnitude = [&](int k) {
    const kiss_fft_cpx& c = bins_[static_cast<std::size_t>(k)];
    return std::sqrt(c.r * c.r + c.i * c.i);
  };
  float low = 0.0f;
  for (int k = 1; k <= lowTop_; ++k) low += magnitude(k);
  // At first the plain mean of the hops so far, then the running one.
  const float follow = std::max(lowRelease_, 1.0f / static_cast<float>(frames_ + 1));
  lowMean_ += follow * (low - lowMean_);
  out.low = std::log1p(low / std::max(lowMean_, kAbsoluteFloor));
  for (std::size_t i = 0; i < pitchClassOf_.size(); ++i) {
    const float m = magnitude(chromaFirst_ + static_cast<int>(i));
    out.chroma[static_cast<std::size_t>(pitchClassOf_[i])] += m * m;
  }
  for (float& c : out.chroma) c = std::sqrt(c);
}

}  // namespace vbvis
