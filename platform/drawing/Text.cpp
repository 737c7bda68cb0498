// Text: size, mode, pen, and DrawString with the font engine's glyphs.
//
// The pen is on the baseline: glyphs stand on it, descenders hang below, and
// the pen moves right by the text's width. In srcCopy the text's line box (from
// the face's ascent above the baseline to its descent below, over the advance
// width) is first painted in the back colour, so the text replaces what was
// there; srcOr lays only the glyphs over the pixels; srcBic draws the glyphs in
// the back colour; srcXor inverts the pixels under them. Edges are anti-aliased
// by blending towards the ink in proportion to the glyph's coverage.
#include "DrawingLog.h"
#include "FontEngine.h"
#include "Paint.h"
#include "Toolbox.h"
#include "Utf8.h"

#include <algorithm>
#include <limits>
#include <span>

using namespace zt::drawing;

namespace {

constexpr int kDefaultTextSize = 12;

int PixelSize(SInt16 textSize) {
    return textSize <= 0 ? kDefaultTextSize : textSize;
}

int RoundPixels(std::int64_t sixtyFourths) {
    return int((sixtyFourths + 32) >> 6);
}

SInt16 Clamp16(int value) {
    return SInt16(std::clamp<int>(value, std::numeric_limits<SInt16>::min(),
                                  std::numeric_limits<SInt16>::max()));
}

std::span<const unsigned char> Characters(ConstStr255Param s) {
    return {s + 1, size_t(s[0])};
}

// One channel of `under` moved towards `ink` by `coverage`/255, rounded.
inline Pixel Blend(Pixel under, Pixel ink, unsigned coverage) {
    const unsigned rest = 255 - coverage;
    Pixel out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        unsigned t = ((under >> shift) & 0xFF) * rest + ((ink >> shift) & 0xFF) * coverage + 128;
        out |= Pixel((t + (t >> 8)) >> 8) << shift;
    }
    return out;
}

// Lays `glyph` with its origin at (originH, baseline); `inkFor(pixel)` gives the
// colour a fully covered pixel takes. Clips to the port.
template <typename InkFor>
void BlendGlyph(const OpaqueGrafPtr& port, const Glyph& glyph, int originH, int baseline,
                InkFor inkFor) {
    const int left = originH + glyph.left, top = baseline - glyph.top;
    const Box clip =
        Box{top, left, top + glyph.height, left + glyph.width}.Intersect(port.Bounds());
    if (clip.IsEmpty()) return;
    const UInt8* coverageRow =
        &glyph.coverage[size_t(clip.top - top) * size_t(glyph.width) + size_t(clip.left - left)];
    auto* row = reinterpret_cast<UInt8*>(port.At(clip.left, clip.top));
    for (int v = clip.top; v < clip.bottom;
         ++v, row += port.RowBytes(), coverageRow += glyph.width) {
        Pixel* pixel = reinterpret_cast<Pixel*>(row);
        for (int i = 0; i < clip.Width(); ++i) {
            const unsigned coverage = coverageRow[i];
            if (coverage == 0) continue;
            const Pixel under = pixel[i] & 0xFFFFFF;
            pixel[i] = coverage == 255 ? inkFor(under) : Blend(under, inkFor(under), coverage);
        }
    }
}

std::int64_t Advance(SizedFont& font, std::span<const unsigned char> text) {
    std::int64_t total = 0;
    ForEachCodePoint(text, [&](char32_t c) { total += font.GlyphFor(c).advance; });
    return total;
}

void DrawText(OpaqueGrafPtr& port, SizedFont& font, std::span<const unsigned char> text) {
    PenState& state = port.state;
    const int penH = state.pen.h, baseline = state.pen.v;
    const int width = RoundPixels(Advance(font, text));
    if (state.textMode == srcCopy) {
        const Box line = {baseline - font.Ascent(), penH, baseline + font.Descent(), penH + width};
        FillBox(port, line.Intersect(port.Bounds()), state.backColor);
    }
    auto drawWith = [&](auto inkFor) {
        std::int64_t x = 0;
        ForEachCodePoint(text, [&](char32_t c) {
            const Glyph& glyph = font.GlyphFor(c);
            BlendGlyph(port, glyph, penH + RoundPixels(x), baseline, inkFor);
            x += glyph.advance;
        });
    };
    const Pixel fore = state.foreColor, back = state.backColor;
    switch (state.textMode) {
    case srcBic:
        drawWith([back](Pixel) { return back; });
        break;
    case srcXor:
        drawWith([](Pixel under) { return ~under & 0xFFFFFF; });
        break;
    default:
        drawWith([fore](Pixel) { return fore; });
        break;
    }
    state.pen.h = Clamp16(penH + width);
}

} // namespace

void TextSize(SInt16 size) {
    if (size < 0) LogDrawingProblem("TextSize", "a negative size draws at the default size");
    if (size > FontEngine::kMaxPixelSize)
        LogDrawingProblem("TextSize", "size beyond 1024 pixels is drawn at 1024");
    ToolboxSession session;
    session.CurrentPort().state.textSize = size;
}

// srcCopy, srcOr, srcXor and srcBic; any other mode leaves the mode as it was.
void TextMode(SInt16 mode) {
    if (mode < srcCopy || mode > srcBic)
        return LogDrawingProblem("TextMode", "not a text transfer mode");
    ToolboxSession session;
    session.CurrentPort().state.textMode = mode;
}

void MoveTo(SInt16 h, SInt16 v) {
    ToolboxSession session;
    session.CurrentPort().state.pen = Point{v, h};
}

void GetPen(Point* pt) {
    if (pt == nullptr) return;
    ToolboxSession session;
    *pt = session.CurrentPort().state.pen;
}

void DrawString(ConstStr255Param s) {
    if (s == nullptr || s[0] == 0) return;
    try {
        ToolboxSession session;
        OpaqueGrafPtr& port = session.CurrentPort();
        SizedFont* font = SharedFontEngine().At(PixelSize(port.state.textSize));
        if (font != nullptr) DrawText(port, *font, Characters(s));
    } catch (const std::bad_alloc&) {
        LogDrawingProblem("DrawString", "memory is short; text not drawn");
    }
}

SInt16 StringWidth(ConstStr255Param s) {
    if (s == nullptr || s[0] == 0) return 0;
    try {
        ToolboxSession session;
        SizedFont* font = SharedFontEngine().At(PixelSize(session.CurrentPort().state.textSize));
        return font != nullptr ? Clamp16(RoundPixels(Advance(*font, Characters(s)))) : 0;
    } catch (const std::bad_alloc&) {
        LogDrawingProblem("StringWidth", "memory is short");
        return 0;
    }
}
