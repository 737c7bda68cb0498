// The real plug-in bundle in the window, playing a generated movie for a song:
// the window's frame shows the movie's pixels (not one colour, not the white
// notice), before and after a resize. The snapshots stay in the build tree for
// a person to look at.
#include "WindowOutput.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <set>
#include <sstream>

#include "Files.h"
#include "PluginBundle.h"
#include "PluginConnection.h"
#include "ScratchFolder.h"
#include "VisualSession.h"
#include "WindowTestSupport.h"

namespace zt::host {
namespace {

namespace fs = std::filesystem;

size_t DistinctColours(const test::Picture& picture) {
    return std::set<uint32_t>(picture.pixels.begin(), picture.pixels.end()).size();
}

// The movie's pixels: many colours, little of the notice's white, and black
// (an empty frame) not the whole of it.
void ExpectMoviePixels(const test::Picture& picture) {
    EXPECT_GT(DistinctColours(picture), 20u);
    EXPECT_LT(picture.ShareNear(0xffffff), 0.5);
    EXPECT_LT(picture.ShareNear(0x000000), 0.5);
}

TEST(WindowWithTheBundle, ShowsTheMovieBeforeAndAfterAResize) {
    test::ScratchFolder scratch;
    fs::create_directories(scratch / "movies");
    std::string make = std::string(ZT_MOVIEMAKER_PATH) + " --pattern --size 160x90 --duration 4 " +
                       "--sample 0:4:Jazz '" + (scratch / "movies/pattern.mp4").string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(make.c_str()), 0) << make;

    std::ostringstream said;
    Reporter reporter(said);
    Expected<PluginBundle> bundle = PluginBundle::Load(ZT_BUNDLE_FOLDER);
    ASSERT_TRUE(bundle) << bundle.error();
    PluginConnection connection(bundle->entry(), bundle->objectPath(), reporter,
                                [](std::string_view) { return std::nullopt; });
    ASSERT_FALSE(connection.Register());
    ASSERT_FALSE(connection.InitialiseVisual());
    FSRef folder{};
    Boolean isFolder = false;
    std::string path = (scratch / "movies").string();
    ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &folder, &isFolder), noErr);
    ASSERT_FALSE(connection.namedData()->Set("Movies Folder",
                                             std::span<const uint8_t>(folder.hidden, sizeof folder.hidden)));

    auto made = WindowOutput::Make(320, 180, WindowLimits::FromRegistration(connection.registration()), {},
                                   reporter);
    if (!made) {
        connection.CleanUp();
        GTEST_SKIP() << "no display: " << made.error();
    }
    WindowOutput& output = *made.value();
    {
        VisualSession session(connection, output, 30, reporter, nullptr);
        session.Show();
        session.SongPlays(Song{"Jazz", "Miles Davis", "Kind of Blue", "So What"});
        EXPECT_EQ(output.title(), "Miles Davis \u2013 So What");
        long shownFrames = 0;
        test::SpinUntil([&] { return (shownFrames = session.framesDrawn()) >= 20; });

        fs::path before = fs::path(ZT_SNAPSHOT_FOLDER) / "window-movie-320x180.png";
        ASSERT_FALSE(output.Snapshot(before));
        std::cout << "the window's frame: " << before.string() << std::endl;
        test::Picture picture = test::LoadPng(before.c_str());
        EXPECT_EQ(picture.width, 320);
        ExpectMoviePixels(picture);
        ExpectMoviePixels(test::PaintedBy(output.drawingArea()));

        gtk_window_resize(output.window(), 400, 240);
        ASSERT_TRUE(test::SpinUntil([&] { return output.size() == WindowSize{400, 240}; }));
        long resizedAt = session.framesDrawn();
        test::SpinUntil([&] { return session.framesDrawn() >= resizedAt + 20; });
        fs::path after = fs::path(ZT_SNAPSHOT_FOLDER) / "window-movie-400x240.png";
        ASSERT_FALSE(output.Snapshot(after));
        std::cout << "the window's frame after a resize: " << after.string() << std::endl;
        picture = test::LoadPng(after.c_str());
        EXPECT_EQ(picture.width, 400);
        EXPECT_EQ(picture.height, 240);
        ExpectMoviePixels(picture);
        session.SongStops();
        session.Hide();
    }
    connection.CleanUp();
    EXPECT_EQ(reporter.misuseCount(), 0) << said.str();
}

} // namespace
} // namespace zt::host
