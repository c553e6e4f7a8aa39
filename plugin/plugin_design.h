#pragma once
#include "interface/plugin_design.h"

// The plug-in's one design object, exported to the host.
IPluginDesign& pluginDesign();
