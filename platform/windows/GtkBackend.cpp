// The GTK 3 backend: windows built with GtkBuilder from the nib, control hits
// from the widgets' own signals, and a modal GtkFileChooserDialog for folders.
// Values the program sets block the widgets' hit handlers, so only a person's
// click (or WindowService's, which acts on the same widgets) is a hit.
#include <gtk/gtk.h>

#include <cstring>

#include "WindowsLog.h"
#include "WindowsToolbox.h"

namespace zt::windows {
namespace {

void OnControlSignal(GtkWidget*, gpointer data) {
    DeliverControlHit(*static_cast<OpaqueControlRef*>(data));
}

// The title bar's close stands for the Cancel button, so a closed window is
// never destroyed and its edit ends as Cancel would end it.
gboolean OnDeleteEvent(GtkWidget* widget, GdkEvent*, gpointer data) {
    auto* window = static_cast<OpaqueWindowPtr*>(data);
    if (OpaqueControlRef* cancel = window->ControlWithObjectId("cancel"))
        gtk_button_clicked(GTK_BUTTON(cancel->widget));
    else
        gtk_widget_hide(widget);
    return TRUE;
}

bool WidgetFits(GtkWidget* widget, ControlKind kind) {
    switch (kind) {
    case ControlKind::CheckBox:
        return GTK_IS_TOGGLE_BUTTON(widget);
    case ControlKind::PopUp:
        return GTK_IS_COMBO_BOX(widget);
    case ControlKind::PushButton:
        return GTK_IS_BUTTON(widget);
    }
    return false;
}

const char* HitSignal(ControlKind kind) {
    switch (kind) {
    case ControlKind::CheckBox:
        return "toggled";
    case ControlKind::PopUp:
        return "changed";
    case ControlKind::PushButton:
        return "clicked";
    }
    return "clicked";
}

std::string FromPascal(const Str255 text) {
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

// Makes the real chooser answer a preset once it is on screen: it is told the
// folder and accepts once it shows that folder as its choice (the chooser loads
// folders in the background); when it does not within a few seconds, it cancels.
struct ChooserAnswer {
    GtkWidget* dialog = nullptr;
    FolderPreset preset;
    guint source = 0;
    int polls = 0;
};

const int kChooserPollMs = 10;
const int kChooserPollLimit = 300;

bool ChooserShows(GtkFileChooser* chooser, const std::filesystem::path& folder) {
    gchar* chosen = gtk_file_chooser_get_filename(chooser);
    bool shows = chosen != nullptr && folder == chosen;
    g_free(chosen);
    return shows;
}

gboolean AnswerChooser(gpointer data) {
    auto* answer = static_cast<ChooserAnswer*>(data);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(answer->dialog);
    if (!answer->preset) {
        answer->source = 0;
        gtk_dialog_response(GTK_DIALOG(answer->dialog), GTK_RESPONSE_CANCEL);
        return G_SOURCE_REMOVE;
    }
    if (answer->polls++ == 0) gtk_file_chooser_set_filename(chooser, answer->preset->c_str());
    bool shows = ChooserShows(chooser, *answer->preset);
    if (!shows && answer->polls < kChooserPollLimit) return G_SOURCE_CONTINUE;
    answer->source = 0;
    if (!shows)
        LogWindowsProblem("the folder chooser did not show %s; cancelled", answer->preset->c_str());
    gtk_dialog_response(GTK_DIALOG(answer->dialog),
                        shows ? GTK_RESPONSE_ACCEPT : GTK_RESPONSE_CANCEL);
    return G_SOURCE_REMOVE;
}

void OnChooserMapped(GtkWidget*, gpointer data) {
    auto* answer = static_cast<ChooserAnswer*>(data);
    if (answer->source == 0) answer->source = g_timeout_add(kChooserPollMs, AnswerChooser, answer);
}

class GtkBackend final : public WindowBackend {
  public:
    OSStatus Build(const OpaqueIBNibRef& nib, OpaqueWindowPtr& window) override {
        GtkBuilder* builder = gtk_builder_new();
        gchar* ids[] = {const_cast<gchar*>(window.name.c_str()), nullptr};
        GError* error = nullptr;
        if (!gtk_builder_add_objects_from_string(builder, nib.text.c_str(), -1, ids, &error)) {
            LogWindowsProblem("GTK cannot build the window %s: %s", window.name.c_str(),
                              error ? error->message : "unknown problem");
            if (error) g_error_free(error);
            g_object_unref(builder);
            return kIBCarbonRuntimeCantFindObject;
        }
        GObject* top = gtk_builder_get_object(builder, window.name.c_str());
        if (top == nullptr || !GTK_IS_WINDOW(top)) {
            g_object_unref(builder);
            return kIBCarbonRuntimeCantFindObject;
        }
        for (const auto& control : window.controls) {
            GObject* object = gtk_builder_get_object(builder, control->objectId.c_str());
            if (object == nullptr || !WidgetFits(GTK_WIDGET(object), control->kind)) {
                LogWindowsProblem("the window %s has no fitting widget %s", window.name.c_str(),
                                  control->objectId.c_str());
                gtk_widget_destroy(GTK_WIDGET(top));
                g_object_unref(builder);
                return kIBCarbonRuntimeCantFindObject;
            }
            control->widget = GTK_WIDGET(object);
            g_signal_connect(object, HitSignal(control->kind), G_CALLBACK(OnControlSignal),
                             control.get());
        }
        window.gtkWindow = GTK_WIDGET(g_object_ref(top)); // windows are never disposed
        g_signal_connect(top, "delete-event", G_CALLBACK(OnDeleteEvent), &window);
        g_object_unref(builder);
        gtk_widget_hide(window.gtkWindow);
        return noErr;
    }

    void Show(OpaqueWindowPtr& window) override {
        gtk_widget_show(window.gtkWindow);
        gtk_window_present(GTK_WINDOW(window.gtkWindow));
    }
    void Hide(OpaqueWindowPtr& window) override { gtk_widget_hide(window.gtkWindow); }
    bool IsShown(const OpaqueWindowPtr& window) override {
        return gtk_widget_get_visible(window.gtkWindow);
    }

    void Close(OpaqueWindowPtr& window) override {
        // The window manager's close arrives as a delete event; send the same.
        GdkEvent* event = gdk_event_new(GDK_DELETE);
        event->any.send_event = TRUE;
        gboolean handled = FALSE;
        g_signal_emit_by_name(window.gtkWindow, "delete-event", event, &handled);
        gdk_event_free(event);
    }

    SInt32 Value(const OpaqueControlRef& control) override {
        switch (control.kind) {
        case ControlKind::CheckBox:
            return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(control.widget)) ? 1 : 0;
        case ControlKind::PopUp:
            return gtk_combo_box_get_active(GTK_COMBO_BOX(control.widget)) + 1;
        case ControlKind::PushButton:
            return 0;
        }
        return 0;
    }

    void SetValueQuietly(OpaqueControlRef& control, SInt32 value) override {
        g_signal_handlers_block_by_func(control.widget, gpointer(OnControlSignal), &control);
        SetWidget(control, value);
        g_signal_handlers_unblock_by_func(control.widget, gpointer(OnControlSignal), &control);
    }

    void ActAsPerson(OpaqueControlRef& control, SInt32 value) override {
        if (control.kind == ControlKind::PushButton) {
            gtk_button_clicked(GTK_BUTTON(control.widget));
        } else if (Value(control) == value) {
            DeliverControlHit(control); // picking the item shown is still a hit; GTK is silent
        } else {
            SetWidget(control, value); // the widget's signal delivers the hit
        }
    }

    FolderAnswer ChooseFolder(const NavDialogOptions& options,
                              std::optional<FolderPreset> preset) override {
        // A preset that is no folder cannot be shown: it fails as on the model,
        // when the answer is turned into a reference.
        std::error_code error;
        if (preset && *preset && !std::filesystem::is_directory(**preset, error))
            return {noErr, **preset};
        std::string title = FromPascal(options.windowTitle);
        GtkWidget* dialog = gtk_file_chooser_dialog_new(
            title.empty() ? "Choose Folder" : title.c_str(), ShownWindow(),
            GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Cancel", GTK_RESPONSE_CANCEL, "_Choose",
            GTK_RESPONSE_ACCEPT, nullptr);
        ChooserAnswer answer;
        answer.dialog = dialog;
        if (preset) {
            answer.preset = *preset;
            g_signal_connect(dialog, "map", G_CALLBACK(OnChooserMapped), &answer);
        }
        gint response = gtk_dialog_run(GTK_DIALOG(dialog));
        if (answer.source != 0) g_source_remove(answer.source);
        FolderAnswer result;
        if (response == GTK_RESPONSE_ACCEPT) {
            gchar* chosen = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog));
            if (chosen != nullptr) {
                result = {noErr, chosen};
                g_free(chosen);
            } else {
                result = {fnfErr, {}}; // not a local folder
            }
        }
        gtk_widget_destroy(dialog);
        return result;
    }

  private:
    static void SetWidget(OpaqueControlRef& control, SInt32 value) {
        if (control.kind == ControlKind::CheckBox)
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(control.widget), value != 0);
        else if (control.kind == ControlKind::PopUp)
            gtk_combo_box_set_active(GTK_COMBO_BOX(control.widget), value - 1);
    }

    // The chooser's parent: the newest window on screen, if any.
    static GtkWindow* ShownWindow() {
        auto& windows = Toolbox().windows;
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            if ((*it)->gtkWindow && gtk_widget_get_visible((*it)->gtkWindow))
                return GTK_WINDOW((*it)->gtkWindow);
        return nullptr;
    }
};

} // namespace

std::unique_ptr<WindowBackend> MakeGtkBackend() {
    return std::make_unique<GtkBackend>();
}

} // namespace zt::windows
