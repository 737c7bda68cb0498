// The settings window: the criteria and the movie folder. Host's thread.
#pragma once

#include "MacWindows.h"
#include "VisualPluginData.h"

// The configure message: makes the window on first use, binds its control
// handler to this instance record, sets the controls from the shared criteria
// and shows it. Returns 0, or the error of finding the bundle, the nib or the
// window, in which case nothing changes and the next configure tries again.
OSStatus OpenSettingsDialog(VisualPluginData* visualPluginData);

// For the clean-up message: when the window works for this record, hide it and
// unbind its handler, so no click reaches a freed record. The next configure
// message binds the window to its own record.
void ForgetSettingsDialogInstance(VisualPluginData* visualPluginData);

// Every control hit of the settings window. userData is the instance record.
extern "C" OSStatus settingsControlHandler(EventHandlerCallRef inRef, EventRef inEvent,
                                           void* userData);
