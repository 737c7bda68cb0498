// Reads a window description (a GtkBuilder .ui file) with GLib's markup parser:
// its top-level windows and, for each, the controls the toolbox knows. A control
// is a widget whose "name" property is a control id, "SIGN:NUMBER" (a
// four-character signature, a colon, a decimal id), e.g. "cbox:3".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "MacWindows.h"

namespace zt::windows {

enum class ControlKind { CheckBox, PopUp, PushButton };

struct ControlSpec {
    std::string objectId; // the object's id in the nib
    ControlKind kind;
    ControlID id;
    std::string label;
    std::vector<std::string> items; // a pop-up menu's items, in order
    SInt32 initialValue = 0;        // check box 0/1, pop-up its 1-based item (0: none)
};

struct WindowSpec {
    std::string objectId;
    std::string title;
    std::vector<ControlSpec> controls;
};

struct NibDescription {
    std::vector<WindowSpec> windows;
    const WindowSpec* Find(std::string_view objectId) const;
};

// "cbox:3" -> {'cbox', 3}; nullopt for anything else.
std::optional<ControlID> ParseControlName(std::string_view name);

// The description, or nullopt with *error saying why (not well-formed, no window).
std::optional<NibDescription> ParseNib(std::string_view text, std::string* error);

} // namespace zt::windows
