#include "FontEngine.h"

#include "DrawingLog.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>

namespace zt::drawing {

namespace {

constexpr const char* kDefaultFamily = "DejaVu Sans";
// Where Debian's fonts-dejavu-core puts the face.
constexpr const char* kDefaultFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
// A size's glyph cache is emptied when its bitmaps pass this many bytes.
constexpr size_t kMaxCachedGlyphBytes = size_t(8) << 20;

struct FontFile {
    std::string path;
    int index = 0;
};

// The file fontconfig chooses for the default family (DejaVu Sans, or the
// nearest face the system has); empty path when none.
FontFile FindDefaultFontFile() {
    FontFile found;
    if (!FcInit()) return found;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(kDefaultFamily));
    if (pattern == nullptr) return found;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return found;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr)
        found.path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) found.index = index;
    FcPatternDestroy(match);
    return found;
}

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct SizeDeleter {
    void operator()(FT_Size size) const { FT_Done_Size(size); }
};
using LibraryPtr = std::unique_ptr<FT_LibraryRec_, LibraryDeleter>;
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceDeleter>;
using SizePtr = std::unique_ptr<FT_SizeRec_, SizeDeleter>;

int CeilPixels(FT_Pos value) {
    return int((value + 63) >> 6);
}

// The face at one size, with its own FreeType size object and glyph cache.
class FreeTypeSizedFont final : public SizedFont {
  public:
    FreeTypeSizedFont(FT_Face face, SizePtr size) : face_(face), size_(std::move(size)) {
        ascent_ = CeilPixels(size_->metrics.ascender);
        descent_ = CeilPixels(-size_->metrics.descender);
    }
    int Ascent() const override { return ascent_; }
    int Descent() const override { return descent_; }

    const Glyph& GlyphFor(char32_t codePoint) override {
        if (auto cached = glyphs_.find(codePoint); cached != glyphs_.end()) return cached->second;
        if (cachedBytes_ > kMaxCachedGlyphBytes) {
            glyphs_.clear();
            cachedBytes_ = 0;
        }
        Glyph glyph = Render(codePoint);
        cachedBytes_ += glyph.coverage.size() + sizeof(Glyph);
        return glyphs_.emplace(codePoint, std::move(glyph)).first->second;
    }

  private:
    Glyph Render(char32_t codePoint) {
        Glyph glyph;
        FT_Activate_Size(size_.get());
        const FT_UInt index = FT_Get_Char_Index(face_, FT_ULong(codePoint));
        // Light hinting keeps the face's shapes and spacing and snaps only
        // vertically: crisp baselines and x-heights at small sizes.
        if (FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) return glyph;
        const FT_GlyphSlot slot = face_->glyph;
        glyph.advance = slot->advance.x;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0)
            return glyph;
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.width = int(bitmap.width);
        glyph.height = int(bitmap.rows);
        glyph.coverage.resize(size_t(glyph.width) * size_t(glyph.height));
        const int levels = std::max(2, int(bitmap.num_grays));
        for (int r = 0; r < glyph.height; ++r) {
            const unsigned char* source = bitmap.buffer + std::ptrdiff_t(r) * bitmap.pitch;
            UInt8* target = &glyph.coverage[size_t(r) * size_t(glyph.width)];
            for (int c = 0; c < glyph.width; ++c)
                target[c] = levels == 256 ? source[c] : UInt8(source[c] * 255 / (levels - 1));
        }
        return glyph;
    }

    FT_Face face_;
    SizePtr size_;
    int ascent_ = 0, descent_ = 0;
    std::unordered_map<char32_t, Glyph> glyphs_;
    size_t cachedBytes_ = 0;
};

} // namespace

struct FontEngine::Face {
    LibraryPtr library;
    FacePtr face;
};

FontEngine::FontEngine() = default;
FontEngine::~FontEngine() {
    sizes_.clear(); // sizes before their face
}

bool FontEngine::LoadFace() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        LogDrawingProblem("DrawString", "FreeType did not start; text is not drawn");
        return false;
    }
    auto loaded = std::make_unique<Face>();
    loaded->library.reset(library);
    // Debian's fonts-dejavu-core first; fontconfig only when it is not there
    // (asking fontconfig first would load its whole configuration for one file).
    FT_Face face = nullptr;
    if (FT_New_Face(library, kDefaultFontFile, 0, &face) != 0) {
        face = nullptr;
        const FontFile file = FindDefaultFontFile();
        if (file.path.empty() || FT_New_Face(library, file.path.c_str(), file.index, &face) != 0) {
            LogDrawingProblem("DrawString",
                              "no font found (install fonts-dejavu-core); text is not drawn");
            return false;
        }
    }
    loaded->face.reset(face);
    face_ = std::move(loaded);
    return true;
}

SizedFont* FontEngine::At(int pixelSize) {
    if (!face_) {
        if (triedLoading_) return nullptr;
        triedLoading_ = true;
        if (!LoadFace()) return nullptr;
    }
    pixelSize = std::clamp(pixelSize, 1, kMaxPixelSize);
    ++useCounter_;
    if (auto cached = sizes_.find(pixelSize); cached != sizes_.end()) {
        cached->second.lastUse = useCounter_;
        return cached->second.font.get();
    }
    if (sizes_.size() >= kCachedSizes) {
        auto oldest =
            std::min_element(sizes_.begin(), sizes_.end(), [](const auto& a, const auto& b) {
                return a.second.lastUse < b.second.lastUse;
            });
        sizes_.erase(oldest);
    }
    FT_Face face = face_->face.get();
    FT_Size rawSize = nullptr;
    if (FT_New_Size(face, &rawSize) != 0) {
        LogDrawingProblem("DrawString", "FreeType could not make a size; text is not drawn");
        return nullptr;
    }
    SizePtr size(rawSize);
    FT_Activate_Size(rawSize);
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) != 0) {
        LogDrawingProblem("DrawString", "the face cannot be set to this size; text is not drawn");
        return nullptr;
    }
    auto font = std::make_unique<FreeTypeSizedFont>(face, std::move(size));
    SizedFont* handedOut = font.get();
    sizes_.emplace(pixelSize, CachedSize{std::move(font), useCounter_});
    return handedOut;
}

FontEngine& SharedFontEngine() {
    // Never destroyed, like the rest of the toolbox's state: text may be drawn
    // from other objects' destructors at exit.
    alignas(FontEngine) static unsigned char storage[sizeof(FontEngine)];
    static FontEngine* engine = new (storage) FontEngine;
    return *engine;
}

} // namespace zt::drawing
