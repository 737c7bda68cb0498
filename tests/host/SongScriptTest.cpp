// The song-script parser: good scripts become timed events; a bad line is
// reported with its number and nothing else is returned.
#include "SongScript.h"

#include <gtest/gtest.h>

namespace zt::host {
namespace {

using std::chrono::microseconds;

TEST(SongScript, ReadsEveryEventWithItsTimeAndSong) {
    SongScript script = ParseSongScript(
        "# The brief's example\n"
        "0 play Jazz | Miles Ahead | Blue Night | So What\n"
        "\n"
        "12 change Rock | The Loud Ones | Thunder Road | Anthem   # a comment\n"
        "20 pause\n"
        "  22.5\tresume\r\n"
        "30 stop\n");
    ASSERT_FALSE(script.error) << script.error->message;
    std::vector<SongEvent> expected{
        {microseconds(0), SongEventKind::Play, {"Jazz", "Miles Ahead", "Blue Night", "So What"}},
        {microseconds(12'000'000), SongEventKind::Change,
         {"Rock", "The Loud Ones", "Thunder Road", "Anthem"}},
        {microseconds(20'000'000), SongEventKind::Pause, {}},
        {microseconds(22'500'000), SongEventKind::Resume, {}},
        {microseconds(30'000'000), SongEventKind::Stop, {}},
    };
    EXPECT_EQ(script.events, expected);
}

struct SongCase {
    const char* line;
    Song song;
};
void PrintTo(const SongCase& c, std::ostream* os) { *os << testing::PrintToString(std::string(c.line)); }

class SongFields : public testing::TestWithParam<SongCase> {};

TEST_P(SongFields, AreTrimmedAndMayBeEmpty) {
    SongScript script = ParseSongScript(GetParam().line);
    ASSERT_FALSE(script.error) << script.error->message;
    ASSERT_EQ(script.events.size(), 1u);
    EXPECT_EQ(script.events[0].song, GetParam().song);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SongFields,
    testing::Values(SongCase{"0 play | | |", {"", "", "", ""}},
                    SongCase{"0 play|||", {"", "", "", ""}},
                    SongCase{"1 change   Jazz|  |Album  |  Title  ", {"Jazz", "", "Album", "Title"}},
                    SongCase{"0 play a b | c  d | e | f", {"a b", "c  d", "e", "f"}},
                    // '#' inside a word is text; after a blank it starts a comment.
                    SongCase{"0 play C# Jazz | Art#ist | A | T #5", {"C# Jazz", "Art#ist", "A", "T"}},
                    SongCase{"0 play Été | Björk | 東京 | ♫", {"Été", "Björk", "東京", "♫"}},
                    SongCase{"0.25 play g | a | b | t", {"g", "a", "b", "t"}}));

TEST(SongScript, SameTimesKeepTheirOrderAndCommentsAndBlanksAreSkipped) {
    SongScript script = ParseSongScript("#only\n   \n\t# indented comment\n5 pause\n5 resume\n5 stop");
    ASSERT_FALSE(script.error) << script.error->message;
    ASSERT_EQ(script.events.size(), 3u);
    EXPECT_EQ(script.events[0].kind, SongEventKind::Pause);
    EXPECT_EQ(script.events[1].kind, SongEventKind::Resume);
    EXPECT_EQ(script.events[2].kind, SongEventKind::Stop);
    EXPECT_TRUE(ParseSongScript("").events.empty());
}

struct BadCase {
    const char* text;
    int line;
    const char* says; // part of the message
};
void PrintTo(const BadCase& c, std::ostream* os) { *os << testing::PrintToString(std::string(c.text)); }

class BadLines : public testing::TestWithParam<BadCase> {};

TEST_P(BadLines, AreReportedWithTheirLineNumber) {
    SongScript script = ParseSongScript(GetParam().text);
    ASSERT_TRUE(script.error) << GetParam().text;
    EXPECT_EQ(script.error->line, GetParam().line);
    EXPECT_NE(script.error->message.find(GetParam().says), std::string::npos) << script.error->message;
    EXPECT_TRUE(script.events.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadLines,
    testing::Values(
        BadCase{"0 play a|b|c|d\n# fine\n3 jump", 3, "unknown event \"jump\""},
        BadCase{"0 Play a|b|c|d", 1, "unknown event \"Play\""},
        BadCase{"0 play a|b|c|d\n\n7", 3, "event is missing"},
        BadCase{"soon play a|b|c|d", 1, "\"soon\" is not a time"},
        BadCase{"12s pause", 1, "\"12s\" is not a time"},
        BadCase{"-1 pause", 1, "negative"},
        BadCase{"nan pause", 1, "not a time"},
        BadCase{"inf pause", 1, "not a time"},
        BadCase{"1e9 pause", 1, "too late"},
        BadCase{"0 play", 1, "needs four song fields"},
        BadCase{"0 play Jazz | Artist | Album", 1, "found 3"},
        BadCase{"0 change a|b|c|d|e", 1, "found 5"},
        BadCase{"0 play Jazz", 1, "found 1"},
        BadCase{"0 stop now", 1, "takes no song fields"},
        BadCase{"0 pause a|b|c|d", 1, "takes no song fields"},
        BadCase{"10 play a|b|c|d\n5 stop", 2, "5 comes before the previous event's time 10"},
        BadCase{"0.5 pause\n0.25 resume", 2, "0.25 comes before the previous event's time 0.5"},
        BadCase{"0 play a|b|\xff|d", 1, "not valid UTF-8"},
        BadCase{"0 play a|b|\xc0\xaf|d", 1, "not valid UTF-8"}));

} // namespace
} // namespace zt::host
