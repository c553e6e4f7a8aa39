#pragma once
#include "interface/plugin_diagnostics.h"

// The one diagnostics object of the plug-in, exported to the host.
IPluginDiagnostics& pluginDiagnostics();
