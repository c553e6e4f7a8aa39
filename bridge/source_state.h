#pragma once
#include <cstdint>
#include <mutex>
#include <string>

namespace vbvis {

// What a source says about itself (a VBVIS_STATE_* code and a line of
// text): written by its capture thread, read by the bridge's caller.
class SourceState {
 public:
  SourceState(std::int32_t code, std::string text) : code_(code), text_(std::move(text)) {}
  void set(std::int32_t code, std::string text) {
    std::lock_guard lock(mutex_);
    code_ = code;
    text_ = std::move(text);
  }
  std::int32_t get(std::string& text) const {
    std::lock_guard lock(mutex_);
    text = text_;
    return code_;
  }

 private:
  mutable std::mutex mutex_;
  std::int32_t code_;
  std::string text_;
};

}  // namespace vbvis
