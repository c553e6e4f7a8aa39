#pragma once
#include "toolkit/version.h"

// Who the plug-in is: the title, version and author that its name, its
// module information and the About box all show.
namespace PluginIdentity {

inline constexpr const char* kTitle = "Sonvero";
inline constexpr const char* kVersion = SONVERO_VERSION;
inline constexpr const char* kAuthor = "Brandt, Kilian";

}  // namespace PluginIdentity
