// The command line: values in both spellings, and a clear message for every
// usage error.
#include "CommandLine.h"

#include <gtest/gtest.h>

namespace zt::host {
namespace {

ParsedCommandLine Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

TEST(CommandLine, ReadsEveryOption) {
    ParsedCommandLine parsed =
        Parse({"--movies", "/m", "--size=320x180", "--fps", "12.5", "--duration", "3",
               "--snapshot-every=0.5", "--out", "shots", "--songs", "s.txt", "--plugin", "p.so"});
    ASSERT_FALSE(parsed.error) << *parsed.error;
    const Options& o = parsed.options;
    EXPECT_EQ(o.movies, "/m");
    EXPECT_EQ(o.width, 320);
    EXPECT_EQ(o.height, 180);
    EXPECT_DOUBLE_EQ(o.fps, 12.5);
    EXPECT_EQ(o.durationSeconds, 3.0);
    EXPECT_EQ(o.snapshotEverySeconds, 0.5);
    EXPECT_EQ(o.outDir, "shots");
    EXPECT_EQ(o.songs, "s.txt");
    EXPECT_EQ(o.plugin, "p.so");
    EXPECT_FALSE(o.demo);

    ParsedCommandLine choices =
        Parse({"--search", "browse", "--play=order", "--match", "genre,title", "--choose-folder",
               "/f", "--fullscreen", "--monitor", "1", "--mpd", "localhost:6601"});
    ASSERT_FALSE(choices.error) << *choices.error;
    EXPECT_EQ(choices.options.searchMethod, 1);
    EXPECT_EQ(choices.options.playMode, 2);
    EXPECT_EQ(choices.options.match, (std::array<bool, 4>{true, false, false, true}));
    EXPECT_EQ(choices.options.chooseFolder, "/f");
    EXPECT_TRUE(choices.options.fullscreen);
    EXPECT_EQ(choices.options.monitor, 1);
    EXPECT_EQ(choices.options.mpd, "localhost:6601");
    EXPECT_TRUE(SetsCriteria(choices.options));
    EXPECT_EQ(Parse({"--match", "none"}).options.match, (std::array<bool, 4>{}));
    EXPECT_EQ(Parse({"--search", "none"}).options.searchMethod, 4);
    EXPECT_EQ(Parse({"--play", "random"}).options.playMode, 1);
    EXPECT_TRUE(Parse({"--offscreen", "--player", "vlc"}).options.offscreen);

    Options defaults = Parse({}).options;
    EXPECT_FALSE(SetsCriteria(defaults));
    EXPECT_FALSE(defaults.offscreen);
    EXPECT_EQ(defaults.width, 640);
    EXPECT_EQ(defaults.height, 360);
    EXPECT_FALSE(defaults.durationSeconds);
    EXPECT_TRUE(Parse({"--demo", "-h", "--version"}).options.demo);
}

struct UsageCase {
    std::vector<std::string> args;
    const char* says;
};
void PrintTo(const UsageCase& c, std::ostream* os) { *os << testing::PrintToString(c.args); }

class UsageErrors : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, AreReported) {
    ParsedCommandLine parsed = Parse(GetParam().args);
    ASSERT_TRUE(parsed.error);
    EXPECT_NE(parsed.error->find(GetParam().says), std::string::npos) << *parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    Table, UsageErrors,
    testing::Values(UsageCase{{"--bogus"}, "unknown option --bogus"},
                    UsageCase{{"stray"}, "unexpected argument \"stray\""},
                    UsageCase{{"--fps"}, "--fps needs a value"},
                    UsageCase{{"--fps", "0"}, "--fps wants"},
                    UsageCase{{"--fps", "fast"}, "--fps wants"},
                    UsageCase{{"--size", "640"}, "--size wants WIDTHxHEIGHT"},
                    UsageCase{{"--size", "0x10"}, "--size wants"},
                    UsageCase{{"--size", "40000x10"}, "--size wants"},
                    UsageCase{{"--size", "10x-3"}, "--size wants"},
                    UsageCase{{"--duration", "-1"}, "--duration wants"},
                    UsageCase{{"--duration=inf"}, "--duration wants"},
                    UsageCase{{"--movies="}, "--movies wants a folder"},
                    UsageCase{{"--snapshot-every", "2"}, "needs --out"},
                    UsageCase{{"--search", "fuzzy"}, "--search wants browse, or, and or none"},
                    UsageCase{{"--play", "shuffle"}, "--play wants random or order"},
                    UsageCase{{"--match", "genre,mood"}, "--match wants"},
                    UsageCase{{"--match", "genre,none"}, "--match wants"},
                    UsageCase{{"--match", ","}, "--match wants"},
                    UsageCase{{"--monitor", "-1"}, "--monitor wants"},
                    UsageCase{{"--songs", "s", "--mpd", "h"}, "give one"},
                    UsageCase{{"--mpd", "h", "--player", "vlc"}, "give one"},
                    UsageCase{{"--offscreen", "--fullscreen"}, "not --offscreen"}));

TEST(CommandLine, HelpNamesEveryOptionAndTheExitCodes) {
    std::string help = HelpText();
    for (const char* option : {"--movies", "--size", "--fps", "--duration", "--snapshot-every",
                               "--out", "--songs", "--plugin", "--demo", "--help", "--version",
                               "--search", "--play", "--match", "--choose-folder", "--offscreen",
                               "--fullscreen", "--monitor", "--mpd", "--player", "the first one",
                               "Exit codes"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

} // namespace
} // namespace zt::host
