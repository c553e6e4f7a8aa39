#pragma once
#include <string>
#include <vector>

namespace vbvis {

// Questions to the sound server, each on a short-lived connection.
struct CaptureSource {
  std::string name;
  std::string description;
  bool monitor = false;  // the monitor of an output: what it plays
};

// True when a sound server answers within about a second.
bool soundServerAnswers();
// The capture sources the server offers: the monitors of its outputs first,
// then the inputs, each in the server's order; false when no server answers.
bool listCaptureSources(std::vector<CaptureSource>& sources);

}  // namespace vbvis
