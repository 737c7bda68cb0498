// A showing of the visualizer against a fake plug-in, from a song script on the
// main loop: 'vrnd' only while a song plays, 'null' only while none does (and
// only for a plug-in that asked for idle messages), the song messages in the
// script's order, 'swin' on a resize, and the output finished before 'hide'.
#include "VisualSession.h"

#include <gtest/gtest.h>
#include <glib.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "FakePlugin.h"
#include "ScratchFolder.h"
#include "ScriptedSongSource.h"

namespace zt::host {
namespace {

using test::FakePlugin;
using test::gFake;

// An output that is only a size and a record of what happened to it.
class MemoryOutput final : public VisualOutput {
  public:
    CGrafPtr port() const override { return reinterpret_cast<CGrafPtr>(const_cast<int*>(&token_)); }
    Rect drawRect() const override { return rect_; }
    void FrameDrawn(std::chrono::microseconds) override { ++frames; }
    void Finish(std::chrono::microseconds) override { gFake->messages.push_back("finish"); }
    bool healthy() const override { return true; }
    void SetResizeListener(std::function<void()> listener) override { listener_ = std::move(listener); }

    void Resize(Rect rect) {
        rect_ = rect;
        if (listener_) listener_();
    }
    long frames = 0;

  private:
    int token_ = 0;
    Rect rect_{0, 0, 90, 160};
    std::function<void()> listener_;
};

class Session : public testing::Test {
  protected:
    test::ScratchFolder scratch;
    FakePlugin fake;
    std::ostringstream said;
    std::ostringstream narration;
    Reporter reporter{said};
    MemoryOutput output;

    // Shows the visualizer, plays the script, and hides it after `seconds`.
    void Run(const std::string& script, double seconds) {
        PluginConnection connection(&test::FakeEntry, scratch / "Fake.so", reporter,
                                    [this](std::string_view) { return scratch / "named-data"; });
        ASSERT_FALSE(connection.Register());
        ASSERT_FALSE(connection.InitialiseVisual());
        SongScript parsed = ParseSongScript(script);
        ASSERT_FALSE(parsed.error);

        GMainLoop* loop = g_main_loop_new(nullptr, false);
        {
            VisualSession session(connection, output, 100, reporter, &narration);
            ScriptedSongSource songs(parsed.events);
            DeadlineTimer end([loop] { g_main_loop_quit(loop); });
            session.Show();
            output.Resize(Rect{0, 0, 100, 200});
            songs.Start(session, [] {});
            end.ArmAt(MonotonicNow() + std::chrono::microseconds(std::llround(seconds * 1e6)));
            g_main_loop_run(loop);
            session.Hide();
            EXPECT_EQ(output.frames, session.framesDrawn());
        }
        g_main_loop_unref(loop);
        connection.CleanUp();
    }

    // The messages between two others (exclusive), each kind once.
    std::vector<std::string> KindsBetween(const std::string& from, const std::string& to) {
        auto& m = fake.messages;
        auto start = std::find(m.begin(), m.end(), from);
        auto stop = std::find(start, m.end(), to);
        std::vector<std::string> kinds;
        for (auto it = start == m.end() ? m.end() : start + 1; it < stop; ++it)
            if (std::find(kinds.begin(), kinds.end(), *it) == kinds.end()) kinds.push_back(*it);
        return kinds;
    }

    // The messages without the frames.
    std::vector<std::string> Skeleton() {
        std::vector<std::string> skeleton;
        for (const auto& m : fake.messages)
            if (m != "'vrnd'" && m != "'null'") skeleton.push_back(m);
        return skeleton;
    }
};

using Kinds = std::vector<std::string>;

TEST_F(Session, RendersWhilePlayingAndIdlesOtherwise) {
    Run("0 play Jazz | Miles | Blue | So What\n"
        "0.25 change Rock | Loud | Thunder | Anthem\n"
        "0.5 pause\n"
        "0.75 resume\n"
        "1.0 stop\n",
        1.25);
    EXPECT_EQ(Skeleton(), (Kinds{"'init'", "'show'", "'swin'", "'vply'", "'ctrk'", "'vpau'", "'vunp'",
                                 "'vstp'", "finish", "'hide'", "'clr '"}));
    EXPECT_EQ(fake.titles, (Kinds{"So What", "Anthem"}));
    for (const auto& [from, to] : {std::pair{"'vply'", "'ctrk'"}, {"'ctrk'", "'vpau'"}, {"'vunp'", "'vstp'"}}) {
        Kinds kinds = KindsBetween(from, to);
        EXPECT_TRUE(kinds.empty() || kinds == Kinds{"'vrnd'"}) << from << " to " << to;
    }
    for (const auto& [from, to] : {std::pair{"'swin'", "'vply'"}, {"'vpau'", "'vunp'"}, {"'vstp'", "finish"}}) {
        Kinds kinds = KindsBetween(from, to);
        EXPECT_TRUE(kinds.empty() || kinds == Kinds{"'null'"}) << from << " to " << to;
    }
    EXPECT_GT(std::count(fake.messages.begin(), fake.messages.end(), "'vrnd'"), 0);
    EXPECT_GT(std::count(fake.messages.begin(), fake.messages.end(), "'null'"), 0);
    ASSERT_EQ(fake.rects.size(), 2u);
    EXPECT_EQ(fake.rects[0].right, 160);
    EXPECT_EQ(fake.rects[1].right, 200) << "'swin' carries the new rectangle";
    EXPECT_NE(narration.str().find("play    Jazz | Miles | Blue | So What"), std::string::npos)
        << narration.str();
}

TEST_F(Session, SendsNoIdleMessagesToAPluginThatDidNotAskForThem) {
    fake.registration.options = kVisualWantsConfigure;
    Run("0.2 play Jazz | Miles | Blue | So What\n0.4 stop\n", 0.6);
    EXPECT_EQ(std::count(fake.messages.begin(), fake.messages.end(), "'null'"), 0);
    EXPECT_EQ(Skeleton(), (Kinds{"'init'", "'show'", "'swin'", "'vply'", "'vstp'", "finish", "'hide'", "'clr '"}));
}

} // namespace
} // namespace zt::host
