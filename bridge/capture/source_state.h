#pragma once
#include <mutex>
#include <string>

namespace vbvis {

// What a source says about itself (a code and a line of text): written by
// its capture thread, read by the bridge's caller.
class SourceState {
 public:
  // vbvis_state hands these to the host as VBVIS_STATE_*.
  enum class Code {
    Playing,     // audio arrives, or the source needs none
    Connecting,  // a sound server source before its first answer
    NoServer,    // no sound server answers
    NoSource     // the server has no capture source of that name, or refuses it
  };

  SourceState(Code code, std::string text) : code_(code), text_(std::move(text)) {}
  void set(Code code, std::string text) {
    std::lock_guard lock(mutex_);
    code_ = code;
    text_ = std::move(text);
  }
  Code get(std::string& text) const {
    std::lock_guard lock(mutex_);
    text = text_;
    return code_;
  }

 private:
  mutable std::mutex mutex_;  // guards code_ and text_
  Code code_;
  std::string text_;
};

}  // namespace vbvis
