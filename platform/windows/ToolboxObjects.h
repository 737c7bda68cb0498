// The records behind the toolbox's opaque window, control, event and bundle
// references. They belong to the toolbox state (WindowsToolbox.h) and live as
// long as the process, so a reference handed out never dangles.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "MacWindows.h"
#include "NibParser.h"

struct _GtkWidget;

struct OpaqueCFString {
    std::string text;
};

struct OpaqueCFBundle {
    std::filesystem::path folder; // holds Info.plist and Resources/
    std::string identifier;
};

struct OpaqueIBNibRef {
    std::string text; // the .ui file as read
    zt::windows::NibDescription description;
};

struct OpaqueControlRef {
    OpaqueWindowPtr* owner = nullptr;
    ControlID id{};
    zt::windows::ControlKind kind{};
    std::string objectId;
    SInt32 maximum = 0;           // 1 for a check box, the item count of a pop-up, 0 for a button
    SInt32 modelValue = 0;        // the model backend's value; GTK reads the widget
    _GtkWidget* widget = nullptr; // GTK backend only
};

struct OpaqueEventHandlerRef {
    OpaqueWindowPtr* window = nullptr;
    EventHandlerUPP proc = nullptr;
    std::vector<EventTypeSpec> types;
    void* userData = nullptr;
};

struct OpaqueEventTargetRef {
    OpaqueWindowPtr* window = nullptr;
};

struct OpaqueWindowPtr {
    std::string name; // the window's object id in its nib
    std::vector<std::unique_ptr<OpaqueControlRef>> controls;
    std::vector<std::unique_ptr<OpaqueEventHandlerRef>> handlers; // in installation order
    OpaqueEventTargetRef target{this};
    bool shown = false;              // the model's state; GTK asks the widget
    _GtkWidget* gtkWindow = nullptr; // GTK backend only

    OpaqueControlRef* ControlWithId(SInt32 id) const;
    OpaqueControlRef* ControlWithObjectId(std::string_view objectId) const;
};

// A control-hit event while it is being delivered.
struct OpaqueEventRef {
    UInt32 eventClass;
    UInt32 eventKind;
    ControlRef control;
};
