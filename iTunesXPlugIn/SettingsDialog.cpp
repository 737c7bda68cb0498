// The settings window.
#include "SettingsDialog.h"

// Until the window lands, the configure message shows nothing.
OSStatus OpenSettingsDialog(VisualPluginData* visualPluginData) {
    (void)visualPluginData;
    return noErr;
}
