// Reading window descriptions: the settings nib itself, control names, and
// descriptions that cannot be used.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "NibParser.h"

namespace {

using namespace zt::windows;

std::string ReadFile(const char* path) {
    std::ifstream in(path);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

TEST(Nib, TheSettingsNibHoldsTheWindowAndItsNineControls) {
    std::string error;
    std::optional<NibDescription> nib = ParseNib(ReadFile(ZT_NIB_PATH), &error);
    ASSERT_TRUE(nib) << error;
    const WindowSpec* window = nib->Find("PluginSettings");
    ASSERT_NE(window, nullptr);
    struct Expected {
        SInt32 id;
        OSType signature;
        ControlKind kind;
        std::string label;
        std::vector<std::string> items;
    };
    const Expected expected[] = {
        {9, FourCC("push"), ControlKind::PushButton, "Choose Folder...", {}},
        {3, FourCC("cbox"), ControlKind::CheckBox, "Genre", {}},
        {4, FourCC("cbox"), ControlKind::CheckBox, "Artist", {}},
        {5, FourCC("cbox"), ControlKind::CheckBox, "Album", {}},
        {6, FourCC("cbox"), ControlKind::CheckBox, "Title", {}},
        {7, FourCC("pmnu"), ControlKind::PopUp, "", {"Browse", "Or", "And", "None"}},
        {8, FourCC("pmnu"), ControlKind::PopUp, "", {"Random", "In order"}},
        {11, FourCC("push"), ControlKind::PushButton, "Cancel", {}},
        {10, FourCC("push"), ControlKind::PushButton, "OK", {}},
    };
    ASSERT_EQ(window->controls.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const ControlSpec& control = window->controls[i];
        SCOPED_TRACE(control.objectId);
        EXPECT_EQ(control.id.id, expected[i].id);
        EXPECT_EQ(control.id.signature, expected[i].signature);
        EXPECT_EQ(control.kind, expected[i].kind);
        EXPECT_EQ(control.label, expected[i].label);
        EXPECT_EQ(control.items, expected[i].items);
    }
    EXPECT_NE(window->controls.back().objectId, "cancel");
    EXPECT_EQ(window->controls[7].objectId, "cancel") << "closing the window presses it";
}

TEST(Nib, ControlNames) {
    const std::pair<const char*, std::optional<ControlID>> cases[] = {
        {"cbox:3", ControlID{FourCC("cbox"), 3}},
        {"pmnu:-8", ControlID{FourCC("pmnu"), -8}},
        {"ab c:12", ControlID{FourCC("ab c"), 12}},
        {"cbox:", std::nullopt},
        {"cbox3", std::nullopt},
        {"cbx:3", std::nullopt},
        {"cbox:3x", std::nullopt},
        {"cbox:99999999999", std::nullopt},
        {"", std::nullopt},
    };
    for (auto [name, expected] : cases) {
        SCOPED_TRACE(name);
        std::optional<ControlID> id = ParseControlName(name);
        ASSERT_EQ(id.has_value(), expected.has_value());
        if (id) {
            EXPECT_EQ(id->signature, expected->signature);
            EXPECT_EQ(id->id, expected->id);
        }
    }
}

TEST(Nib, ValuesAndControlsOutsideWindows) {
    std::string error;
    std::optional<NibDescription> nib = ParseNib(R"(<interface>
        <object class="GtkCheckButton" id="loose"><property name="name">cbox:1</property></object>
        <object class="GtkWindow" id="w">
          <child><object class="GtkBox" id="b">
            <child><object class="GtkCheckButton" id="on">
              <property name="name">cbox:2</property><property name="active">True</property>
            </object></child>
            <child><object class="GtkComboBoxText" id="pick">
              <property name="name">pmnu:3</property><property name="active">1</property>
              <items><item>a</item><item>b</item></items>
            </object></child>
            <child><object class="GtkComboBoxText" id="none">
              <property name="name">pmnu:4</property><property name="active">7</property>
              <items><item>a</item></items>
            </object></child>
            <child><object class="GtkButton" id="plain"/></child>
          </object></child>
        </object></interface>)",
                                                 &error);
    ASSERT_TRUE(nib) << error;
    ASSERT_EQ(nib->windows.size(), 1u);
    const auto& controls = nib->windows[0].controls;
    ASSERT_EQ(controls.size(), 3u) << "the loose box and the unnamed button are no controls";
    EXPECT_EQ(controls[0].initialValue, 1);
    EXPECT_EQ(controls[1].initialValue, 2);
    EXPECT_EQ(controls[2].initialValue, 0) << "an item out of range selects nothing";
}

TEST(Nib, UnusableDescriptionsSayWhy) {
    for (const char* text : {"<interface><object class=\"GtkWindow\" id=\"w\">", "",
                             "<interface><object class=\"GtkBox\" id=\"b\"/></interface>"}) {
        SCOPED_TRACE(text);
        std::string error;
        EXPECT_FALSE(ParseNib(text, &error));
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
