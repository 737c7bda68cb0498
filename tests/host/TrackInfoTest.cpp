// Song strings from a UTF-8 world become Str255: at most 255 bytes, never
// ending inside a character.
#include "TrackInfo.h"
#include "Utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace zt::host {
namespace {

std::string Repeat(const std::string& piece, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i) out += piece;
    return out;
}

struct CutCase {
    std::string text;
    size_t expectedBytes;
};
void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.text.size() << " bytes ending "
        << testing::PrintToString(c.text.substr(c.text.size() - std::min<size_t>(c.text.size(), 4)));
}

class CutToStr255 : public testing::TestWithParam<CutCase> {};

TEST_P(CutToStr255, KeepsWholeCharactersWithin255Bytes) {
    Str255 s;
    std::memset(s, 0x5a, sizeof s);
    SetSongString(s, GetParam().text);
    EXPECT_EQ(s[0], GetParam().expectedBytes);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(s + 1), s[0]),
              GetParam().text.substr(0, GetParam().expectedBytes));
    EXPECT_TRUE(IsValidUtf8(std::string(reinterpret_cast<char*>(s + 1), s[0])) ||
                !IsValidUtf8(GetParam().text));
    for (size_t i = size_t(s[0]) + 1; i < sizeof s; ++i) ASSERT_EQ(s[i], 0) << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CutToStr255,
    testing::Values(CutCase{"", 0}, CutCase{"So What", 7}, CutCase{Repeat("a", 255), 255},
                    CutCase{Repeat("a", 300), 255},
                    // 2-byte characters: 127 of them fill 254 bytes; the 128th would end at 256.
                    CutCase{Repeat("é", 200), 254},
                    // 254 ASCII bytes, then a 3-byte character that does not fit.
                    CutCase{Repeat("a", 254) + "東", 254},
                    CutCase{Repeat("a", 252) + "東", 255},
                    // 4-byte characters: 63 of them are 252 bytes.
                    CutCase{Repeat("🎷", 70), 252},
                    // Bytes that are not UTF-8 count one each.
                    CutCase{Repeat("\xff", 300), 255}));

TEST(TrackInfo, CarriesTheFourSongStringsInTheirFields) {
    ITTrackInfo track = TrackInfoForSong({"Jazz", "Miles Ahead", "Blue Night", "So What"});
    auto text = [](const Str255 s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); };
    EXPECT_EQ(text(track.genre), "Jazz");
    EXPECT_EQ(text(track.artist), "Miles Ahead");
    EXPECT_EQ(text(track.album), "Blue Night");
    EXPECT_EQ(text(track.name), "So What");
}

TEST(Utf8, RejectsMalformedSequences) {
    EXPECT_TRUE(IsValidUtf8("plain, Été, 東京, 🎷"));
    for (const char* bad : {"\x80", "\xc3", "\xe6\x9d", "\xc0\x80", "\xed\xa0\x80", "\xf4\x90\x80\x80",
                            "\xf8\x88\x80\x80\x80"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
}

} // namespace
} // namespace zt::host
