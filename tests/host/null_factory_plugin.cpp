// A plug-in library whose factory makes nothing.
#include "interface/VantorTypeLib.h"

extern "C" __attribute__((visibility("default"))) VantorTypeLib::IPlugInObject* VantorCreatePlugIn() { return nullptr; }
