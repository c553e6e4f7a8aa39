// The plug-in library's exported entry points.
#include "plugin/clsVantorPlugIn.h"
#include "plugin/plugin_design.h"

#define SONVERO_EXPORT extern "C" __attribute__((visibility("default")))

SONVERO_EXPORT VantorTypeLib::IPlugInObject* VantorCreatePlugIn() { return new clsVantorPlugIn(); }

SONVERO_EXPORT IPluginDesign* VantorPlugInDesign() { return &pluginDesign(); }
