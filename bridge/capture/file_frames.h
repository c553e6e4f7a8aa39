#pragma once
#include <memory>
#include <string>
#include <vector>

#include <sndfile.h>

#include "bridge/capture/frame_generator.h"

namespace vbvis {

// An audio file through libsndfile (WAV, FLAC, OGG, ...). Mono plays on
// both sides; of more channels the first two are left and right. At the
// end it starts over when looping, else it gives silence.
class FileFrames : public FrameGenerator {
 public:
  // Nothing when the file cannot be opened or holds no usable audio, with
  // the reason in `why` ("no such file", "a FIFO, not a regular file", "an
  // empty file", "a damaged audio file header (...)"; the caller names the
  // file). Only a regular file is opened: a FIFO would hold the program up,
  // a device might do anything.
  static std::unique_ptr<FileFrames> open(const std::string& path, bool loop, std::string* why = nullptr);
  ~FileFrames() override;

  int sampleRate() const override { return rate_; }
  void read(float* stereo, std::size_t frames) override;
  void skip(std::size_t frames) override;

 private:
  FileFrames(SNDFILE* file, const SF_INFO& info, bool loop);
  // Reads up to `frames` before the end; 0 at the end.
  std::size_t readSome(float* stereo, std::size_t frames);

  SNDFILE* file_;
  int rate_;
  int channels_;
  sf_count_t length_;
  sf_count_t position_ = 0;
  bool loop_;
  bool broken_ = false;  // a read failed: silence from then on
  std::vector<float> fileFrames_;
};

}  // namespace vbvis
