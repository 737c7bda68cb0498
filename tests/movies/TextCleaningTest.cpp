#include "TextCleaning.h"

#include <gtest/gtest.h>

namespace zt::test {
namespace {

using zt::movies::CleanSampleText;

std::string Clean(AVCodecID codec, const std::string& bytes) {
    return CleanSampleText(codec, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

TEST(TextCleaning, EachCodecsFramingAndMarkupGo) {
    // mov_text: length 11, the text, then a style box ('styl') that must not leak into the text.
    std::string movText = std::string("\x00\x0b", 2) + "Hello\nWorld" +
                          std::string("\x00\x00\x00\x12styl\x00\x01\x00\x00\x00\x05\x00\x01\x01\x12", 18);
    struct Case {
        AVCodecID codec;
        std::string bytes;
        std::string plain;
    };
    const Case cases[] = {
        {AV_CODEC_ID_MOV_TEXT, movText, "Hello World"},
        {AV_CODEC_ID_MOV_TEXT, std::string("\x00\x00", 2), ""}, // a gap sample
        {AV_CODEC_ID_MOV_TEXT, std::string("\x00\x40hi", 4), "hi"}, // a length beyond the sample
        {AV_CODEC_ID_MOV_TEXT, std::string("\x00\x06\xfe\xff\x00h\x00i", 8), "hi"}, // UTF-16
        {AV_CODEC_ID_SUBRIP, "<i>Jazz</i>\r\n<font color=\"red\">night</font> {\\an8}", "Jazz  night"},
        {AV_CODEC_ID_SUBRIP, "a < b and c > d", "a < b and c > d"},
        {AV_CODEC_ID_ASS, "0,0,Default,,0,0,0,,{\\b1}Rock{\\b0}\\Nroll, baby", "Rock roll, baby"},
        {AV_CODEC_ID_ASS, "Dialogue: 0,0:00:00.00,0:00:01.00,Default,,0,0,0,,x\\hy", "x y"},
        {AV_CODEC_ID_ASS, "0,0,Default", ""},
        {AV_CODEC_ID_WEBVTT, "<v Fred>fish &amp; chips</v> <00:00:01.000>then", "fish & chips then"},
        {AV_CODEC_ID_TEXT, "  <plain> {text}  ", "<plain> {text}"},
        {AV_CODEC_ID_SUBRIP, "caf\xe9", "caf\xc3\xa9"}, // Latin-1 becomes UTF-8
        {AV_CODEC_ID_SUBRIP, "   \n  ", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Clean(c.codec, c.bytes), c.plain) << c.bytes;
    EXPECT_EQ(CleanSampleText(AV_CODEC_ID_SUBRIP, nullptr, 5), "");
}

TEST(TextCleaning, FoldingIgnoresCaseAndComposition) {
    using zt::movies::FoldForSearch;
    EXPECT_EQ(FoldForSearch("ÉTÉ"), FoldForSearch("été"));
    EXPECT_EQ(FoldForSearch("e\u0301te\u0301"), FoldForSearch("été"));
    EXPECT_EQ(FoldForSearch("STRASSE"), FoldForSearch("straße"));
    EXPECT_EQ(FoldForSearch("ΣΊΣΥΦΟΣ"), FoldForSearch("σίσυφος"));
    EXPECT_NE(FoldForSearch("jazz"), FoldForSearch("jass"));
}

} // namespace
} // namespace zt::test
