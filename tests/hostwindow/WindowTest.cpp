// The visualizer window against a recording plug-in, on a real display (Xvfb
// in the test script): resizing sends 'swin' with the new rectangle and later
// frames land in the new port; closing ends with 'hide' and 'clr '; the keys,
// double-click and full screen; the title follows the song.
#include "WindowOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <optional>
#include <sstream>

#include "FakePlugin.h"
#include "ScratchFolder.h"
#include "VisualSession.h"
#include "WindowTestSupport.h"

namespace zt::host {
namespace {

using test::FakePlugin;
using test::PaintedBy;
using test::PressButton;
using test::PressKey;
using test::SpinUntil;

bool SameRect(const Rect& a, const Rect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

std::string Text(const Rect& r) {
    return "{" + std::to_string(r.top) + "," + std::to_string(r.left) + "," + std::to_string(r.bottom) +
           "," + std::to_string(r.right) + "}";
}

// The window's right-click menu, as attached to its drawing area.
GtkWidget* MenuOf(GtkWidget* area) {
    GList* menus = gtk_menu_get_for_attach_widget(area);
    return menus != nullptr ? GTK_WIDGET(menus->data) : nullptr;
}

GtkMenuItem* MenuItem(GtkWidget* area, const std::string& label) {
    GtkMenuItem* found = nullptr;
    GList* items = gtk_container_get_children(GTK_CONTAINER(MenuOf(area)));
    for (GList* i = items; i != nullptr; i = i->next)
        if (label == gtk_menu_item_get_label(GTK_MENU_ITEM(i->data))) found = GTK_MENU_ITEM(i->data);
    g_list_free(items);
    return found;
}

// A window showing the fake plug-in, wired as the program wires it.
class Window : public testing::Test {
  protected:
    test::ScratchFolder scratch;
    FakePlugin fake;
    std::ostringstream said;
    Reporter reporter{said};
    std::optional<PluginConnection> connection;
    std::unique_ptr<WindowOutput> output;
    std::optional<VisualSession> session;
    GMainLoop* loop = g_main_loop_new(nullptr, false);
    int settingsAsked = 0;
    int quitAsked = 0;

    ~Window() override {
        session.reset();
        output.reset();
        g_main_loop_unref(loop);
    }

    // Opens the window (or skips without a display) and shows the visualizer in it.
    void Open(WindowOptions options = {}) {
        fake.registration.maxWidth = 480;
        fake.registration.maxHeight = 300;
        auto made = WindowOutput::Make(320, 180, WindowLimits::FromRegistration(fake.registration),
                                       options, reporter);
        if (!made) GTEST_SKIP() << "no display: " << made.error();
        output = std::move(made.value());
        output->SetSettingsRequestHandler([this] {
            ++settingsAsked;
            session->Configure();
        });
        output->SetQuitRequestHandler([this] {
            ++quitAsked;
            g_main_loop_quit(loop);
        });
        connection.emplace(&test::FakeEntry, scratch / "Fake.so", reporter,
                           [](std::string_view) { return std::nullopt; });
        ASSERT_FALSE(connection->Register());
        ASSERT_FALSE(connection->InitialiseVisual());
        session.emplace(*connection, *output, 60, reporter, nullptr);
        session->Show();
        ASSERT_TRUE(SpinUntil([&] { return gtk_widget_get_mapped(output->drawingArea()); }))
            << "the window never appeared";
    }

    long Count(const std::string& message) const {
        return std::count(fake.messages.begin(), fake.messages.end(), message);
    }
};

TEST_F(Window, AResizeSendsTheNewRectangleAndLaterFramesLandInTheNewPort) {
    Open();
    if (IsSkipped()) return;
    struct Case {
        WindowSize asked, expected;
    };
    // The plug-in of this test takes 64x64 to 480x300.
    const Case cases[] = {{{400, 250}, {400, 250}}, {{30, 20}, {64, 64}}, {{1000, 900}, {480, 300}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.asked.width) + "x" + std::to_string(c.asked.height));
        const Rect expected{0, 0, SInt16(c.expected.height), SInt16(c.expected.width)};
        size_t before = fake.rects.size();
        gtk_window_resize(output->window(), c.asked.width, c.asked.height);
        ASSERT_TRUE(SpinUntil([&] { return fake.rects.size() > before; })) << "no 'swin'";
        EXPECT_EQ(fake.messages.back(), "'swin'");
        EXPECT_TRUE(SameRect(fake.rects.back(), expected)) << Text(fake.rects.back());
        EXPECT_TRUE(SameRect(output->drawRect(), expected)) << Text(output->drawRect());
        Rect bounds{};
        GetPortBounds(output->port(), &bounds);
        EXPECT_TRUE(SameRect(bounds, expected)) << Text(bounds);

        // A frame as the plug-in draws one: into the port it was handed.
        SetGWorld(output->port(), nullptr);
        RGBColor green{0, 0xffff, 0};
        RGBForeColor(&green);
        PaintRect(&expected);
        SetGWorld(nullptr, nullptr);
        output->FrameDrawn(session->sinceShow());

        std::filesystem::path shot = scratch / "frame.png";
        ASSERT_FALSE(output->Snapshot(shot));
        test::Picture saved = test::LoadPng(shot.c_str());
        EXPECT_EQ(saved.width, c.expected.width);
        EXPECT_EQ(saved.height, c.expected.height);
        EXPECT_EQ(saved.ShareNear(0x00ff00), 1.0);
        // The window shows it; where the window is outside the limits the
        // frame is fitted into it, on black.
        test::Picture shown = PaintedBy(output->drawingArea());
        if (shown.width == c.expected.width && shown.height == c.expected.height)
            EXPECT_EQ(shown.ShareNear(0x00ff00), 1.0);
        else
            EXPECT_GT(shown.ShareNear(0x00ff00), 0.2);
    }
    EXPECT_EQ(reporter.misuseCount(), 0) << said.str();
}

TEST_F(Window, ClosingTheWindowHidesThenCleansUp) {
    Open();
    if (IsSkipped()) return;
    gtk_window_close(output->window());
    g_main_loop_run(loop); // until the quit request, as the program runs
    session->Hide();
    connection->CleanUp();
    EXPECT_EQ(quitAsked, 1);
    ASSERT_GE(fake.messages.size(), 2u);
    EXPECT_EQ(fake.messages[fake.messages.size() - 2], "'hide'");
    EXPECT_EQ(fake.messages.back(), "'clr '");
    EXPECT_EQ(Count("'hide'"), 1);
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(output->window()))) << "the program, not GTK, ends the window";
}

TEST_F(Window, KeysAndTheMenuAskForSettingsAndQuit) {
    Open();
    if (IsSkipped()) return;
    struct Case {
        const char* what;
        guint keyval;
        guint modifiers;
        int settings, quits;
    };
    const Case cases[] = {
        {"o", GDK_KEY_o, 0, 1, 0},
        {"q", GDK_KEY_q, 0, 0, 1},
        {"Escape outside full screen", GDK_KEY_Escape, 0, 0, 1},
        {"Ctrl+q belongs to others", GDK_KEY_q, GDK_CONTROL_MASK, 0, 0},
        {"an unbound key", GDK_KEY_x, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settingsAsked = quitAsked = 0;
        fake.messages.clear();
        PressKey(GTK_WIDGET(output->window()), c.keyval, c.modifiers);
        EXPECT_EQ(settingsAsked, c.settings);
        EXPECT_EQ(quitAsked, c.quits);
        EXPECT_EQ(Count("'cnfg'"), c.settings) << "settings asked for send 'cnfg'";
    }

    // A right-click opens the menu; its items ask as the keys do.
    GtkWidget* menu = MenuOf(output->drawingArea());
    ASSERT_NE(menu, nullptr);
    PressButton(output->drawingArea(), GDK_BUTTON_PRESS, GDK_BUTTON_SECONDARY);
    EXPECT_TRUE(SpinUntil([&] { return gtk_widget_get_visible(menu); })) << "the menu pops up";
    gtk_menu_popdown(GTK_MENU(menu));
    settingsAsked = quitAsked = 0;
    gtk_menu_item_activate(MenuItem(output->drawingArea(), "Settings\u2026"));
    EXPECT_EQ(settingsAsked, 1);
    gtk_menu_item_activate(MenuItem(output->drawingArea(), "Quit"));
    EXPECT_EQ(quitAsked, 1);
}

TEST_F(Window, ConfigureIsRefusedForAPluginWithoutSettings) {
    fake.registration.options = kVisualWantsIdleMessages;
    Open();
    if (IsSkipped()) return;
    EXPECT_EQ(session->Configure(), unimpErr);
    EXPECT_EQ(Count("'cnfg'"), 0);
    EXPECT_NE(said.str().find("no settings"), std::string::npos) << said.str();
}

// Full screen needs a window manager's consent once the window is mapped; for
// an unmapped window GDK changes the state itself. Where no window manager
// honours the request (Xvfb alone), the toggles are checked on the hidden window.
TEST_F(Window, F11TheFKeyAndADoubleClickToggleFullScreen) {
    Open();
    if (IsSkipped()) return;
    PressKey(GTK_WIDGET(output->window()), GDK_KEY_F11);
    if (!SpinUntil([&] { return output->fullScreen(); }, std::chrono::milliseconds(1000))) {
        std::cout << "no window manager honours full screen here: toggling the hidden window\n";
        gtk_widget_hide(GTK_WIDGET(output->window()));
        output->ToggleFullScreen(); // the F11 above was refused: ask again
        ASSERT_TRUE(SpinUntil([&] { return output->fullScreen(); }));
    }
    // Each toggles: off, on, off, on.
    const std::pair<const char*, std::function<void()>> toggles[] = {
        {"f", [&] { PressKey(GTK_WIDGET(output->window()), GDK_KEY_f); }},
        {"double-click", [&] { PressButton(output->drawingArea(), GDK_2BUTTON_PRESS, GDK_BUTTON_PRIMARY); }},
        {"F11", [&] { PressKey(GTK_WIDGET(output->window()), GDK_KEY_F11); }},
        {"the menu", [&] { gtk_menu_item_activate(MenuItem(output->drawingArea(), "Full Screen")); }},
    };
    for (const auto& [what, toggle] : toggles) {
        SCOPED_TRACE(what);
        bool was = output->fullScreen();
        toggle();
        EXPECT_TRUE(SpinUntil([&] { return output->fullScreen() != was; }));
    }
    ASSERT_TRUE(output->fullScreen());
    PressKey(GTK_WIDGET(output->window()), GDK_KEY_Escape);
    EXPECT_TRUE(SpinUntil([&] { return !output->fullScreen(); })) << "Escape leaves full screen";
    EXPECT_EQ(quitAsked, 0) << "and does not quit";
    PressKey(GTK_WIDGET(output->window()), GDK_KEY_Escape);
    EXPECT_EQ(quitAsked, 1) << "a second Escape quits";
}

TEST_F(Window, StartsFullScreenOnTheChosenMonitor) {
    Open(WindowOptions{.fullScreen = true, .monitor = 0});
    if (IsSkipped()) return;
    EXPECT_TRUE(SpinUntil([&] { return output->fullScreen(); }));
    EXPECT_EQ(said.str().find("monitor"), std::string::npos) << said.str();
}

TEST_F(Window, AMonitorThatDoesNotExistIsReportedAndIgnored) {
    Open(WindowOptions{.monitor = 99});
    if (IsSkipped()) return;
    EXPECT_NE(said.str().find("there is no monitor 99"), std::string::npos) << said.str();
    EXPECT_TRUE(gtk_widget_get_mapped(GTK_WIDGET(output->window())));
}

TEST_F(Window, TheTitleFollowsTheSong) {
    Open();
    if (IsSkipped()) return;
    EXPECT_EQ(output->title(), "Zoetropica");
    session->SongPlays(Song{"Jazz", "Miles Davis", "Kind of Blue", "So What"});
    EXPECT_EQ(output->title(), "Miles Davis \u2013 So What");
    session->SongChanges(Song{"Rock", "Loud", "Thunder", "Anthem"});
    EXPECT_EQ(output->title(), "Loud \u2013 Anthem");
    session->SongPauses();
    EXPECT_EQ(output->title(), "Loud \u2013 Anthem") << "a paused song is still the song";
    session->SongStops();
    EXPECT_EQ(output->title(), "Zoetropica");
}

// Meaningful where ctest runs it in a process of its own, before GTK opened a display.
TEST(WindowWithoutDisplay, FailsWithAMessage) {
    if (gdk_display_get_default() != nullptr) GTEST_SKIP() << "GTK is already open on a display";
    std::optional<std::string> display, wayland;
    if (const char* d = std::getenv("DISPLAY")) display = d;
    if (const char* w = std::getenv("WAYLAND_DISPLAY")) wayland = w;
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    std::ostringstream said;
    Reporter reporter(said);
    auto made = WindowOutput::Make(320, 180, WindowLimits{}, {}, reporter);
    if (display) setenv("DISPLAY", display->c_str(), 1);
    if (wayland) setenv("WAYLAND_DISPLAY", wayland->c_str(), 1);
    ASSERT_FALSE(made);
    EXPECT_NE(made.error().find("cannot open a display"), std::string::npos) << made.error();
}

} // namespace
} // namespace zt::host
