#pragma once
#include <QString>
#include <string>

namespace tk::qt {

// The file of a program resource (a picture's image): looked up in
// $SONVERO_RESOURCE_DIR, then beside the executable, in its resources/
// folder and in ../share/sonvero. Empty when none holds it.
QString findResource(const std::string& name);

}  // namespace tk::qt
