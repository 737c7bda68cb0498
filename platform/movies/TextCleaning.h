// Text samples as plain text: each subtitle codec's framing and markup removed,
// and text in any encoding made UTF-8. Folding for case-insensitive search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace zt::movies {

// The plain text of one sample of a text codec: the mov_text length prefix and
// style boxes, SubRip and WebVTT tags, the ASS fields before the text, override
// blocks {...} and \N line breaks removed; line breaks become spaces, the ends
// are trimmed. Empty for an empty (gap) sample.
std::string CleanSampleText(AVCodecID codec, const uint8_t* data, size_t size);

// The bytes as UTF-8: valid UTF-8 unchanged, UTF-16 with a byte-order mark
// converted, anything else read as Latin-1.
std::string ToValidUtf8(std::string_view bytes);

// Unicode case folding and compatibility composition (NFKC), so that "ÉTÉ",
// "été" and "e\u0301te\u0301" fold alike. The input must be valid UTF-8.
std::string FoldForSearch(std::string_view utf8);

} // namespace zt::movies
