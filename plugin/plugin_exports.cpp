// The plug-in library's exported entry points.
#include "plugin/clsVantorPlugIn.h"
#include "plugin/plugin_diagnostics.h"

#define SONVERO_EXPORT extern "C" __attribute__((visibility("default")))

SONVERO_EXPORT VantorTypeLib::IPlugInObject* VantorCreatePlugIn() { return new clsVantorPlugIn(); }

SONVERO_EXPORT IPluginDiagnostics* VantorPlugInDiagnostics() { return &pluginDiagnostics(); }
