// Glyphs of the default font, DejaVu Sans (fontconfig finds a face when it is
// not where Debian puts it), rendered by FreeType as 8-bit coverage and cached
// per pixel size, so text drawn every frame costs a few lookups and blends.
// Used only while a ToolboxSession is open.
#pragma once

#include "MacTypes.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace zt::drawing {

// One rendered glyph, placed relative to the pen on the baseline.
struct Glyph {
    int left = 0; // columns from the pen to the first bitmap column
    int top = 0;  // bitmap rows above the baseline
    int width = 0, height = 0;
    std::int64_t advance = 0;    // pen advance in 1/64 pixel
    std::vector<UInt8> coverage; // width * height, row after row, 0 (none) to 255 (full)
};

// The default face at one pixel size.
class SizedFont {
  public:
    virtual ~SizedFont() = default;
    // Whole pixels above and below the baseline that the face's lines take.
    virtual int Ascent() const = 0;
    virtual int Descent() const = 0;
    // The glyph of a code point (the face's missing-glyph box when it has none).
    // The reference lasts until the next call.
    virtual const Glyph& GlyphFor(char32_t codePoint) = 0;
};

class FontEngine {
  public:
    // Sizes kept at once; the one used longest ago gives way to a new one.
    static constexpr size_t kCachedSizes = 8;
    static constexpr int kMaxPixelSize = 1024;

    FontEngine();
    ~FontEngine();
    FontEngine(const FontEngine&) = delete;
    FontEngine& operator=(const FontEngine&) = delete;

    // The default face at `pixelSize` (1 to kMaxPixelSize); NULL when no font
    // could be loaded (logged once).
    SizedFont* At(int pixelSize);

  private:
    struct Face;
    struct CachedSize {
        std::unique_ptr<SizedFont> font;
        std::uint64_t lastUse = 0;
    };
    bool LoadFace();

    std::unique_ptr<Face> face_;
    bool triedLoading_ = false;
    std::unordered_map<int, CachedSize> sizes_;
    std::uint64_t useCounter_ = 0;
};

// The toolbox's one font engine; callers hold a ToolboxSession.
FontEngine& SharedFontEngine();

} // namespace zt::drawing
