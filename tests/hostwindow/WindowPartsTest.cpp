// The window's parts that need no display: its title for a song and the
// plug-in's size limits.
#include <gtest/gtest.h>

#include "WindowLimits.h"
#include "WindowTitle.h"

namespace zt::host {
namespace {

TEST(WindowTitle, NamesTheArtistAndTitleOrTheProgram) {
    struct Case {
        std::optional<Song> song;
        const char* title;
    };
    const Case cases[] = {
        {std::nullopt, "Zoetropica"},
        {Song{"Jazz", "Miles Davis", "Kind of Blue", "So What"}, "Miles Davis \u2013 So What"},
        {Song{"Jazz", "", "Kind of Blue", "So What"}, "So What"},
        {Song{"Jazz", "Miles Davis", "Kind of Blue", ""}, "Miles Davis"},
        {Song{"Jazz", "", "Kind of Blue", ""}, "Zoetropica"},
        {Song{"", "Bj\u00f6rk", "", "J\u00f3ga"}, "Bj\u00f6rk \u2013 J\u00f3ga"},
        {Song{"", "Bad\xff", "", "Bytes\xc3"}, "Bad\ufffd \u2013 Bytes\ufffd"},
    };
    for (const Case& c : cases) EXPECT_EQ(WindowTitleFor(c.song), c.title);
}

TEST(WindowLimits, KeepSizesWithinTheRegisteredLimits) {
    PlayerRegisterVisualPluginMessage registration{};
    registration.minWidth = 64;
    registration.minHeight = 48;
    registration.maxWidth = 640;
    registration.maxHeight = 0; // no maximum
    WindowLimits limits = WindowLimits::FromRegistration(registration);
    struct Case {
        WindowSize asked, given;
    };
    const Case cases[] = {
        {{320, 240}, {320, 240}}, {{10, 10}, {64, 48}},       {{0, -5}, {64, 48}},
        {{9999, 9999}, {640, 9999}}, {{99999, 99999}, {640, WindowLimits::kLargest}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(limits.Clamp(c.asked), c.given) << c.asked.width << "x" << c.asked.height;

    // A registration whose maximum is below its minimum, or negative: the minimum holds.
    registration.maxWidth = 10;
    registration.minHeight = -3;
    limits = WindowLimits::FromRegistration(registration);
    EXPECT_EQ(limits.Clamp({200, 0}), (WindowSize{64, 1}));
}

} // namespace
} // namespace zt::host
