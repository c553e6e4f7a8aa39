#pragma once
#include <array>
#include <cstddef>
#include <vector>

#include <kiss_fftr.h>

namespace vbvis {

// How much new sound starts in each hop of about 11 ms: the beat tracker's
// input. The mono mix goes through a Hann window of two hops and an FFT;
// the bins are gathered into narrow bands (about four per octave, 30 Hz to
// 16 kHz), each band's magnitude is divided by its own slowly followed
// level and log-compressed, and the rises from the previous hop are summed
// per group (kick, low mids, mids, highs) and weighted, the kick's group
// most. Dividing by the followed level is what makes the result the same
// for quiet and loud (compressed) music, so no level is set by hand;
// silence gives 0, and a band that the music leaves empty does not turn
// its faint noise into onsets (a band's level never counts as lower than
// a fixed fraction of the loudest band's).
class OnsetStrength {
 public:
  static constexpr int kPitchClasses = 12;
  // What one hop gives besides the onset strength: how loud the low end
  // is (the kick and the bass, 30 to 150 Hz, against its level over the
  // last seconds: log-compressed, about 1 on average), how the spectrum
  // between 300 Hz and 4 kHz falls into the twelve pitch classes (what
  // harmony sounds, to see where chords change), and the hop's level in
  // dBFS (-120 for silence).
  struct Frame {
    float onset = 0.0f;
    float low = 0.0f;
    float levelDb = -120.0f;
    std::array<float, kPitchClasses> chroma{};
  };

  explicit OnsetStrength(int sampleRate);
  ~OnsetStrength();
  OnsetStrength(const OnsetStrength&) = delete;
  OnsetStrength& operator=(const OnsetStrength&) = delete;

  // Samples per hop: the power of two nearest to 1/94 s (512 at 44.1 and 48 kHz).
  int hop() const { return hop_; }
  double framesPerSecond() const { return static_cast<double>(rate_) / hop_; }

  // Takes mono samples (full scale +-1.0; not finite ones read as 0) and
  // appends one value per completed hop to `onsets`. The value of hop k
  // stands for the sound around sample k * hop() (its window's centre).
  void push(const float* mono, std::size_t count, std::vector<float>& onsets);
  // The same with everything each hop gives.
  void push(const float* mono, std::size_t count, std::vector<Frame>& frames);

  static constexpr int kGroups = 4;

 private:
  Frame frame();
  void lowAndChroma(Frame& out);

  int rate_;
  int hop_;
  int size_;
  kiss_fftr_cfg fft_;
  std::vector<float> window_;
  std::vector<float> input_;      // the last size_ samples, oldest first
  int filled_ = 0;                // new samples in input_ since the last frame
  std::vector<float> windowed_;
  std::vector<kiss_fft_cpx> bins_;
  struct Band {
    int first, last;              // FFT bins, inclusive
    int group;
    float level = 0.0f;           // followed magnitude
    float previous = 0.0f;        // last hop's compressed value
  };
  std::vector<Band> bands_;
  std::vector<float> magnitudes_;  // this hop's, per band
  std::array<int, kGroups> groupSize_{};
  std::array<float, kGroups> groupMean_{};
  long frames_ = 0;
  float attack_, release_, groupRelease_;
  int lowTop_ = 0;                 // last bin of the low end
  std::vector<int> pitchClassOf_;  // per bin from chromaFirst_, its pitch class
  int chromaFirst_ = 0;
  float lowMean_ = 0.0f;
  float lowRelease_;
};

}  // namespace vbvis
