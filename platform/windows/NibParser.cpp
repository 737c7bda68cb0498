#include "NibParser.h"

#include <glib.h>

#include <charconv>
#include <map>

namespace zt::windows {

const WindowSpec* NibDescription::Find(std::string_view objectId) const {
    for (const WindowSpec& window : windows)
        if (window.objectId == objectId) return &window;
    return nullptr;
}

std::optional<ControlID> ParseControlName(std::string_view name) {
    if (name.size() < 6 || name[4] != ':') return std::nullopt;
    SInt32 number = 0;
    const char* first = name.data() + 5;
    const char* last = name.data() + name.size();
    auto [end, problem] = std::from_chars(first, last, number);
    if (problem != std::errc() || end != last) return std::nullopt;
    OSType signature = 0;
    for (int i = 0; i < 4; ++i)
        signature = (signature << 8) | UInt8(name[size_t(i)]);
    return ControlID{signature, number};
}

namespace {

bool IsWindowClass(std::string_view widgetClass) {
    return widgetClass == "GtkWindow" || widgetClass == "GtkDialog";
}

std::optional<ControlKind> KindOfClass(std::string_view widgetClass) {
    if (widgetClass == "GtkCheckButton" || widgetClass == "GtkToggleButton")
        return ControlKind::CheckBox;
    if (widgetClass == "GtkComboBoxText") return ControlKind::PopUp;
    if (widgetClass == "GtkButton") return ControlKind::PushButton;
    return std::nullopt;
}

bool IsTrue(std::string_view text) {
    return text == "True" || text == "true" || text == "TRUE" || text == "yes" || text == "1";
}

struct ObjectFrame {
    std::string widgetClass;
    std::string id;
    std::map<std::string, std::string> properties;
    std::vector<std::string> items;
};

// What the parser has seen so far.
struct ParseState {
    std::vector<ObjectFrame> objects;
    std::vector<WindowSpec> openWindows;
    NibDescription result;
    std::string propertyName; // inside <property name=...> when not empty
    bool inProperty = false;
    bool inItem = false;
    std::string text;
};

const char* AttributeOf(const char** names, const char** values, const char* wanted) {
    for (int i = 0; names[i] != nullptr; ++i)
        if (std::string_view(names[i]) == wanted) return values[i];
    return nullptr;
}

void StartElement(GMarkupParseContext*, const gchar* element, const gchar** names,
                  const gchar** values, gpointer userData, GError**) {
    auto& state = *static_cast<ParseState*>(userData);
    std::string_view name = element;
    if (name == "object") {
        const char* widgetClass = AttributeOf(names, values, "class");
        const char* id = AttributeOf(names, values, "id");
        state.objects.push_back({widgetClass ? widgetClass : "", id ? id : "", {}, {}});
        if (IsWindowClass(state.objects.back().widgetClass))
            state.openWindows.push_back({state.objects.back().id, {}, {}});
    } else if (name == "property" && !state.objects.empty()) {
        const char* propertyName = AttributeOf(names, values, "name");
        state.inProperty = propertyName != nullptr;
        state.propertyName = propertyName ? propertyName : "";
        state.text.clear();
    } else if (name == "item" && !state.objects.empty()) {
        state.inItem = true;
        state.text.clear();
    }
}

void FinishObject(ParseState& state) {
    ObjectFrame object = std::move(state.objects.back());
    state.objects.pop_back();
    auto property = [&](const char* key) {
        auto found = object.properties.find(key);
        return found == object.properties.end() ? std::string() : found->second;
    };
    if (IsWindowClass(object.widgetClass)) {
        WindowSpec window = std::move(state.openWindows.back());
        state.openWindows.pop_back();
        window.title = property("title");
        state.result.windows.push_back(std::move(window));
        return;
    }
    std::optional<ControlKind> kind = KindOfClass(object.widgetClass);
    std::optional<ControlID> id = ParseControlName(property("name"));
    if (!kind || !id || state.openWindows.empty()) return;
    ControlSpec control{object.id, *kind, *id, property("label"), std::move(object.items), 0};
    if (*kind == ControlKind::CheckBox) {
        control.initialValue = IsTrue(property("active")) ? 1 : 0;
    } else if (*kind == ControlKind::PopUp) {
        int active = -1;
        std::string text = property("active");
        std::from_chars(text.data(), text.data() + text.size(), active);
        if (active >= 0 && size_t(active) < control.items.size()) control.initialValue = active + 1;
    }
    state.openWindows.back().controls.push_back(std::move(control));
}

void EndElement(GMarkupParseContext*, const gchar* element, gpointer userData, GError**) {
    auto& state = *static_cast<ParseState*>(userData);
    std::string_view name = element;
    if (name == "object" && !state.objects.empty()) {
        FinishObject(state);
    } else if (name == "property" && state.inProperty) {
        state.objects.back().properties[state.propertyName] = state.text;
        state.inProperty = false;
    } else if (name == "item" && state.inItem) {
        state.objects.back().items.push_back(state.text);
        state.inItem = false;
    }
}

void Text(GMarkupParseContext*, const gchar* text, gsize length, gpointer userData, GError**) {
    auto& state = *static_cast<ParseState*>(userData);
    if (state.inProperty || state.inItem) state.text.append(text, length);
}

} // namespace

std::optional<NibDescription> ParseNib(std::string_view text, std::string* error) {
    static const GMarkupParser parser = {StartElement, EndElement, Text, nullptr, nullptr};
    ParseState state;
    GMarkupParseContext* context =
        g_markup_parse_context_new(&parser, GMarkupParseFlags(0), &state, nullptr);
    GError* problem = nullptr;
    bool ok = g_markup_parse_context_parse(context, text.data(), gssize(text.size()), &problem) &&
              g_markup_parse_context_end_parse(context, &problem);
    g_markup_parse_context_free(context);
    if (!ok) {
        if (error) *error = problem ? problem->message : "not well-formed";
        if (problem) g_error_free(problem);
        return std::nullopt;
    }
    if (state.result.windows.empty()) {
        if (error) *error = "it describes no window";
        return std::nullopt;
    }
    return std::move(state.result);
}

} // namespace zt::windows
