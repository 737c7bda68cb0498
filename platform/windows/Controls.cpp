// Controls: lookup by id, their ids and owners, and their values.
#include <algorithm>

#include "WindowsToolbox.h"

using namespace zt::windows;

OSStatus GetControlByID(WindowRef inWindow, const ControlID* inID, ControlRef* outControl) {
    if (outControl == nullptr) return paramErr;
    *outControl = nullptr;
    if (inWindow == nullptr || inID == nullptr) return paramErr;
    for (const auto& control : inWindow->controls) {
        if (control->id.signature == inID->signature && control->id.id == inID->id) {
            *outControl = control.get();
            return noErr;
        }
    }
    return errUnknownControl;
}

OSStatus GetControlID(ControlRef inControl, ControlID* outID) {
    if (inControl == nullptr || outID == nullptr) return paramErr;
    *outID = inControl->id;
    return noErr;
}

WindowRef GetControlOwner(ControlRef inControl) {
    return inControl == nullptr ? nullptr : inControl->owner;
}

SInt16 GetControlValue(ControlRef theControl) {
    if (theControl == nullptr) return 0;
    return SInt16(ActiveBackend().Value(*theControl));
}

void SetControlValue(ControlRef theControl, SInt16 newValue) {
    if (theControl == nullptr) return;
    SInt32 value = std::clamp<SInt32>(newValue, 0, theControl->maximum);
    ActiveBackend().SetValueQuietly(*theControl, value);
}
