#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct RecordingBridge {
  struct Call {
    std::int32_t side;
    std::string bufferBefore;  // what the wrapper handed in
    std::int32_t length;
    bool withBuffer;
  };
  std::int16_t count = 0;
  std::string text;
  std::int16_t level = 0;
  std::vector<Call> calls;
  std::vector<std::int32_t> vuSides;
};

extern RecordingBridge recordingBridge;
