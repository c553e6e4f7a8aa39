#include "bridge/capture/file_frames.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace vbvis {

namespace {

constexpr std::size_t kChunkFrames = 4096;
// Rates libsndfile may report for damaged headers are kept out of the
// analysis, which needs a sensible rate for its frequency axis.
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 768000;

// What stands where a file was expected, as a reason names it.
std::string notAFile(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder, not a file";
  if (S_ISFIFO(mode)) return "a FIFO, not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device, not a regular file";
  if (S_ISSOCK(mode)) return "a socket, not a regular file";
  return "not a regular file";
}

std::string systemError(int error) { return error == ENOENT ? "no such file" : std::strerror(error); }

// Why libsndfile did not open a file, in its own words too. Beyond its
// few public codes, each code names a header that is not as its format
// wants it.
std::string notAudio(int code) {
  const std::string words = std::string(" (") + sf_error_number(code) + ")";
  switch (code) {
    case SF_ERR_UNRECOGNISED_FORMAT: return "not an audio file libsndfile knows" + words;
    case SF_ERR_UNSUPPORTED_ENCODING: return "an encoding libsndfile cannot decode" + words;
    case SF_ERR_SYSTEM: return "cannot be read" + words;
    default: return "a damaged audio file header" + words;
  }
}

}  // namespace

std::unique_ptr<FileFrames> FileFrames::open(const std::string& path, bool loop, std::string* why) {
  // The caller names the file; the reason says what is wrong with it.
  const auto refuse = [&](const std::string& reason) -> std::unique_ptr<FileFrames> {
    if (why) *why = reason;
    return nullptr;
  };
  // Looked at before it is opened, and once more through the descriptor
  // that libsndfile then reads.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return refuse(systemError(errno));
  if (!S_ISREG(st.st_mode)) return refuse(notAFile(st.st_mode));
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return refuse(systemError(errno));
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) {
    ::close(fd);
    return refuse(st.st_size == 0 && S_ISREG(st.st_mode) ? "an empty file" : notAFile(st.st_mode));
  }
  SF_INFO info{};
  // libsndfile closes the descriptor with the file, or at once when it fails.
  SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
  if (!file) return refuse(notAudio(sf_error(nullptr)));
  if (info.channels < 1 || info.samplerate < kMinRate || info.samplerate > kMaxRate || info.frames < 0) {
    sf_close(file);
    return refuse("no usable audio: its header gives " + std::to_string(info.channels) + " channels at " +
                  std::to_string(info.samplerate) + " Hz");
  }
  // Integer files are scaled to +-1.0 as float; float files are taken as they are.
  sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
  return std::unique_ptr<FileFrames>(new FileFrames(file, info, loop));
}

FileFrames::FileFrames(SNDFILE* file, const SF_INFO& info, bool loop)
    : file_(file), rate_(info.samplerate), channels_(info.channels), length_(info.frames), loop_(loop) {}

FileFrames::~FileFrames() { sf_close(file_); }

std::size_t FileFrames::readSome(float* stereo, std::size_t frames) {
  if (broken_ || position_ >= length_) return 0;
  frames = std::min({frames, kChunkFrames, static_cast<std::size_t>(length_ - position_)});
  fileFrames_.resize(frames * static_cast<std::size_t>(channels_));
  const sf_count_t got = sf_readf_float(file_, fileFrames_.data(), static_cast<sf_count_t>(frames));
  if (got <= 0) {
    // A file cut short behind its header: what was there is all there is.
    broken_ = true;
    return 0;
  }
  const std::size_t c = static_cast<std::size_t>(channels_);
  for (std::size_t i = 0; i < static_cast<std::size_t>(got); ++i) {
    stereo[2 * i] = fileFrames_[i * c];
    stereo[2 * i + 1] = fileFrames_[i * c + (c > 1 ? 1 : 0)];
  }
  position_ += got;
  return static_cast<std::size_t>(got);
}

void FileFrames::read(float* stereo, std::size_t frames) {
  while (frames > 0) {
    std::size_t got = readSome(stereo, frames);
    if (got == 0 && loop_ && !broken_ && length_ > 0 && sf_seek(file_, 0, SEEK_SET) == 0) {
      position_ = 0;
      got = readSome(stereo, frames);
    }
    if (got == 0) {
      std::fill(stereo, stereo + 2 * frames, 0.0f);
      return;
    }
    stereo += 2 * got;
    frames -= got;
  }
}

void FileFrames::skip(std::size_t frames) {
  if (broken_ || length_ == 0) return;
  sf_count_t target = position_ + static_cast<sf_count_t>(frames);
  if (loop_) target %= length_;
  else target = std::min(target, length_);
  if (target == length_) {
    position_ = length_;
    return;
  }
  if (sf_seek(file_, target, SEEK_SET) < 0) broken_ = true;
  else position_ = target;
}

}  // namespace vbvis
