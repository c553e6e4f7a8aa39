#pragma once
#include <string>

namespace vantorhost {

// The audio source when the command line names none: the music the computer
// plays when a sound server answers, else the demo track, so a first run
// always shows something.
std::string defaultAudioSource();

}  // namespace vantorhost
