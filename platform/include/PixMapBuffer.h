// An owned pixel map of depth 8, 16 or 32: its pixels, its PixMap record and,
// when asked for, its colour table, handed out as a PixMapHandle that stays
// valid for the buffer's whole life (moves included).
//
// For tests, the pixels can be surrounded by guard bytes (before the first row,
// after the last one, and as padding at the end of every row), all holding one
// known value, so that a test can prove nothing outside the map was touched.
#pragma once

#include "QuickDraw.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace zt {

class PixMapBuffer {
  public:
    struct Options {
        // The colour table's entries, in pixel-value order. nullopt: no table
        // (pmTable is NULL); an empty vector: a table of no entries (ctSize -1).
        std::optional<std::vector<RGBColor>> colours;
        std::size_t guardBytes = 0; // before the first and after the last row
        std::size_t rowPadding = 0; // guard bytes after the pixels of every row
        UInt8 guardValue = 0xA5;
    };

    // A map of `bounds` at `pixelSize` bits (8, 16 or 32; anything else makes a
    // record of that depth with 32-bit storage), every pixel byte zero. An empty
    // or inverted `bounds` makes a map with no pixels. Throws std::bad_alloc when
    // memory is short.
    PixMapBuffer(SInt16 pixelSize, Rect bounds, Options options);
    PixMapBuffer(SInt16 pixelSize, Rect bounds);
    PixMapBuffer(PixMapBuffer&&) noexcept;
    PixMapBuffer& operator=(PixMapBuffer&&) noexcept;
    ~PixMapBuffer();

    PixMapHandle Handle() const;
    PixMap& Record() const;
    Rect Bounds() const;
    int Width() const;
    int Height() const;
    int BytesPerPixel() const;
    Ptr BaseAddr() const;
    SInt32 RowBytes() const;

    // The pixel value at map coordinates (h, v) (1, 2 or 4 bytes, native order);
    // callers keep (h, v) inside the bounds.
    UInt32 Pixel(int h, int v) const;
    void SetPixel(int h, int v, UInt32 value);
    void Fill(UInt32 value);
    // Every byte of every row (padding included) and every guard byte.
    std::span<const std::byte> Storage() const;
    // The pixel bytes only, row after row, without padding: for comparing maps.
    std::vector<std::byte> PixelBytes() const;

    // True while every guard and padding byte still holds the guard value.
    bool GuardsIntact() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace zt
