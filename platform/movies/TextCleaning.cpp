#include "TextCleaning.h"

#include <glib.h>

namespace zt::movies {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::string Trimmed(std::string text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsSpace(text[begin])) ++begin;
    while (end > begin && IsSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// Line breaks become spaces and NUL bytes go (they separate samples in the search buffers).
std::string Flattened(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\0') continue;
        out += c == '\n' || c == '\r' ? ' ' : c;
    }
    return out;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Removes markup: <tag ...> and </tag> when `tags`, {...} override blocks when
// `blocks`, and ASS's \N, \n and \h escapes when `assEscapes`.
std::string WithoutMarkup(std::string_view text, bool tags, bool blocks, bool assEscapes) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (tags && c == '<') {
            size_t name = i + 1 < text.size() && text[i + 1] == '/' ? i + 2 : i + 1;
            size_t close = text.find('>', i);
            // A tag starts with a letter (or is a WebVTT time stamp <00:01.000>).
            if (close != std::string_view::npos && name < text.size() &&
                (IsAsciiLetter(text[name]) || (text[name] >= '0' && text[name] <= '9'))) {
                i = close;
                continue;
            }
        }
        if (blocks && c == '{') {
            size_t close = text.find('}', i);
            if (close != std::string_view::npos) {
                i = close;
                continue;
            }
        }
        if (assEscapes && c == '\\' && i + 1 < text.size()) {
            char next = text[i + 1];
            if (next == 'N' || next == 'n' || next == 'h') {
                out += ' ';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// WebVTT's character references.
std::string WithoutEntities(std::string_view text) {
    static constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&nbsp;", " "}, {"&lrm;", ""}, {"&rlm;", ""}};
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& [entity, value] : kEntities) {
                if (text.substr(i, entity.size()) == entity) {
                    out += value;
                    i += entity.size() - 1;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += text[i];
    }
    return out;
}

// The Text field of an ASS event: after the eight fields FFmpeg puts first
// (ReadOrder, Layer, Style, Name, MarginL, MarginR, MarginV, Effect), or the
// nine after "Dialogue:" in a full event line.
std::string_view AssTextField(std::string_view event) {
    int fields = 8;
    if (event.substr(0, 9) == "Dialogue:") {
        event.remove_prefix(9);
        fields = 9;
    }
    for (int i = 0; i < fields; ++i) {
        size_t comma = event.find(',');
        if (comma == std::string_view::npos) return {};
        event.remove_prefix(comma + 1);
    }
    return event;
}

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

std::string FromUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto b0 = uint8_t(bytes[i]), b1 = uint8_t(bytes[i + 1]);
        uint32_t unit = bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            auto c0 = uint8_t(bytes[i + 2]), c1 = uint8_t(bytes[i + 3]);
            uint32_t low = bigEndian ? (c0 << 8 | c1) : (c1 << 8 | c0);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return out;
}

} // namespace

std::string ToValidUtf8(std::string_view bytes) {
    if (g_utf8_validate(bytes.data(), gssize(bytes.size()), nullptr)) return std::string(bytes);
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFE && uint8_t(bytes[1]) == 0xFF)
        return FromUtf16(bytes.substr(2), true);
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE)
        return FromUtf16(bytes.substr(2), false);
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) AppendUtf8(out, uint8_t(c));
    return out;
}

std::string CleanSampleText(AVCodecID codec, const uint8_t* data, size_t size) {
    if (data == nullptr || size == 0) return {};
    std::string_view raw(reinterpret_cast<const char*>(data), size);
    std::string text;
    switch (codec) {
    case AV_CODEC_ID_MOV_TEXT: {
        // A 16-bit big-endian text length, the text, then style and other boxes.
        if (size < 2) return {};
        size_t length = size_t(data[0]) << 8 | data[1];
        text = WithoutMarkup(ToValidUtf8(raw.substr(2, length)), false, false, false);
        break;
    }
    case AV_CODEC_ID_SUBRIP:
    case AV_CODEC_ID_SRT:
        text = WithoutMarkup(ToValidUtf8(raw), true, true, false);
        break;
    case AV_CODEC_ID_ASS:
    case AV_CODEC_ID_SSA:
        text = WithoutMarkup(ToValidUtf8(AssTextField(raw)), false, true, true);
        break;
    case AV_CODEC_ID_WEBVTT:
        text = WithoutEntities(WithoutMarkup(ToValidUtf8(raw), true, false, false));
        break;
    case AV_CODEC_ID_TEXT:
        text = ToValidUtf8(raw);
        break;
    default: // other text codecs (MicroDVD, SAMI, ...): their tags and blocks
        text = WithoutMarkup(ToValidUtf8(raw), true, true, false);
        break;
    }
    return Trimmed(Flattened(text));
}

std::string FoldForSearch(std::string_view utf8) {
    if (utf8.empty()) return {};
    gchar* folded = g_utf8_casefold(utf8.data(), gssize(utf8.size()));
    if (folded == nullptr) return {};
    gchar* normal = g_utf8_normalize(folded, -1, G_NORMALIZE_ALL_COMPOSE);
    std::string result = normal != nullptr ? std::string(normal) : std::string(folded);
    g_free(normal);
    g_free(folded);
    return result;
}

} // namespace zt::movies
