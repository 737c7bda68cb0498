// The settings window: the criteria and the movie folder. Host's thread.
#pragma once

#include "VisualPluginData.h"

// The configure message: makes the window on first use, sets its controls from
// the shared criteria and shows it. Returns 0, or an error when the window
// cannot be made.
OSStatus OpenSettingsDialog(VisualPluginData* visualPluginData);
