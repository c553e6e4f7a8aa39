#pragma once
// Starter shows are templates: opened to start a design from, never saved
// over (a save would also strip their comments).
#include <filesystem>

namespace vantorhost {

// Whether `file` is one of the starter shows shipped in `starterFolder`: it
// lies in that folder, or it holds the same bytes as the starter of the
// same name there (the copy in a source tree the build copied them from).
bool isStarterShow(const std::filesystem::path& file, const std::filesystem::path& starterFolder);

}  // namespace vantorhost
