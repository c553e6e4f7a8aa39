#pragma once
#include <string>

namespace vantorhost {

// A library that ships with the program: beside the executable (the build
// tree) or in ../lib/sonvero (an installed copy). A full path, so that the
// loader needs no run path: a sanitizer's dlopen would not carry the
// program's.
std::string shippedLibraryPath(const std::string& fileName);

}  // namespace vantorhost
