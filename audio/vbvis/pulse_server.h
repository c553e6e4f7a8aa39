#pragma once
#include <string>
#include <vector>

namespace vbvis {

// Questions to the sound server, each on a short-lived connection.
struct CaptureSource {
  std::string name;
  std::string description;
};

// True when a sound server answers within about a second.
bool soundServerAnswers();
// The capture sources the server offers (monitors included), in its order;
// false when no server answers.
bool listCaptureSources(std::vector<CaptureSource>& sources);

}  // namespace vbvis
