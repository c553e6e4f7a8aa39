#pragma once
#include <filesystem>
#include <string>

namespace vantorhost {

// A library that ships with the program: beside the executable (the build
// tree) or in ../lib/sonvero (an installed copy). A full path, so that the
// loader needs no run path: a sanitizer's dlopen would not carry the
// program's.
std::string shippedLibraryPath(const std::string& fileName);

// A folder of data that ships with the program (fixture definitions): in
// $SONVERO_RESOURCE_DIR, in resources/ beside the executable (the build
// tree) or in ../share/sonvero (an installed copy), as the desktop finds
// its pictures. Empty when none holds it.
std::filesystem::path shippedDataFolder(const std::string& name);

}  // namespace vantorhost
