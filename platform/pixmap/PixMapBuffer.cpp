// An owned pixel map: storage with guards, the record and the colour table.
#include "PixMapBuffer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

namespace zt {

struct PixMapBuffer::State {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 4;
    std::size_t rowPadding = 0;
    std::size_t guardBytes = 0;
    UInt8 guardValue = 0xA5;
    std::vector<std::byte> storage;

    PixMap record{};
    PixMapPtr recordPtr = &record;

    // The table is a header followed by its entries: sized at run time, so it
    // lives in raw, suitably aligned storage.
    std::unique_ptr<std::max_align_t[]> tableStorage;
    CTabPtr tablePtr = nullptr;

    std::size_t RowStride() const { return std::size_t(width) * bytesPerPixel + rowPadding; }
    std::size_t PixelOffset(int h, int v) const {
        return guardBytes + std::size_t(v - record.bounds.top) * RowStride() +
               std::size_t(h - record.bounds.left) * bytesPerPixel;
    }
};

namespace {

int StorageBytesPerPixel(SInt16 pixelSize) {
    switch (pixelSize) {
    case 8:
        return 1;
    case 16:
        return 2;
    default:
        return 4;
    }
}

} // namespace

PixMapBuffer::PixMapBuffer(SInt16 pixelSize, Rect bounds, Options options)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.width = std::max(0, int(bounds.right) - int(bounds.left));
    s.height = std::max(0, int(bounds.bottom) - int(bounds.top));
    s.bytesPerPixel = StorageBytesPerPixel(pixelSize);
    s.rowPadding = options.rowPadding;
    s.guardBytes = options.guardBytes;
    s.guardValue = options.guardValue;

    const std::size_t pixelArea = std::size_t(s.height) * s.RowStride();
    s.storage.assign(2 * s.guardBytes + pixelArea, std::byte{s.guardValue});
    for (int v = 0; v < s.height; ++v)
        std::memset(s.storage.data() + s.guardBytes + std::size_t(v) * s.RowStride(), 0,
                    std::size_t(s.width) * s.bytesPerPixel);

    s.record.baseAddr = reinterpret_cast<Ptr>(s.storage.data() + s.guardBytes);
    s.record.rowBytes = SInt32(s.RowStride());
    s.record.bounds = bounds;
    s.record.pixelSize = pixelSize;
    s.record.pixelType = pixelSize <= 8 ? 0 : 16; // indexed or direct
    s.record.cmpCount = pixelSize <= 8 ? 1 : 3;
    s.record.cmpSize = pixelSize <= 8 ? pixelSize : (pixelSize == 16 ? 5 : 8);

    if (options.colours) {
        const std::vector<RGBColor>& colours = *options.colours;
        // Header (ctSeed, ctFlags, ctSize) plus at least the one declared entry.
        const std::size_t bytes = offsetof(ColorTable, ctTable) +
                                  std::max<std::size_t>(1, colours.size()) * sizeof(ColorSpec);
        s.tableStorage = std::make_unique<std::max_align_t[]>(
            (bytes + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t));
        auto* table = new (s.tableStorage.get()) ColorTable{};
        table->ctSeed = 0;
        table->ctFlags = 0;
        table->ctSize = SInt16(colours.size()) - 1;
        ColorSpec* entries = table->ctTable;
        for (std::size_t i = 0; i < colours.size(); ++i)
            entries[i] = ColorSpec{SInt16(i), colours[i]};
        s.tablePtr = table;
        s.record.pmTable = &s.tablePtr;
    }
}

PixMapBuffer::PixMapBuffer(SInt16 pixelSize, Rect bounds)
    : PixMapBuffer(pixelSize, bounds, Options{}) {}

PixMapBuffer::PixMapBuffer(PixMapBuffer&&) noexcept = default;
PixMapBuffer& PixMapBuffer::operator=(PixMapBuffer&&) noexcept = default;
PixMapBuffer::~PixMapBuffer() = default;

PixMapHandle PixMapBuffer::Handle() const {
    return &state_->recordPtr;
}
PixMap& PixMapBuffer::Record() const {
    return state_->record;
}
Rect PixMapBuffer::Bounds() const {
    return state_->record.bounds;
}
int PixMapBuffer::Width() const {
    return state_->width;
}
int PixMapBuffer::Height() const {
    return state_->height;
}
int PixMapBuffer::BytesPerPixel() const {
    return state_->bytesPerPixel;
}
Ptr PixMapBuffer::BaseAddr() const {
    return state_->record.baseAddr;
}
SInt32 PixMapBuffer::RowBytes() const {
    return state_->record.rowBytes;
}

UInt32 PixMapBuffer::Pixel(int h, int v) const {
    const std::byte* at = state_->storage.data() + state_->PixelOffset(h, v);
    switch (state_->bytesPerPixel) {
    case 1:
        return UInt32(at[0]);
    case 2: {
        UInt16 value;
        std::memcpy(&value, at, 2);
        return value;
    }
    default: {
        UInt32 value;
        std::memcpy(&value, at, 4);
        return value;
    }
    }
}

void PixMapBuffer::SetPixel(int h, int v, UInt32 value) {
    std::byte* at = state_->storage.data() + state_->PixelOffset(h, v);
    switch (state_->bytesPerPixel) {
    case 1:
        at[0] = std::byte(value);
        break;
    case 2: {
        const UInt16 narrow = UInt16(value);
        std::memcpy(at, &narrow, 2);
        break;
    }
    default:
        std::memcpy(at, &value, 4);
        break;
    }
}

void PixMapBuffer::Fill(UInt32 value) {
    const Rect b = Bounds();
    for (int v = b.top; v < b.top + Height(); ++v)
        for (int h = b.left; h < b.left + Width(); ++h)
            SetPixel(h, v, value);
}

std::span<const std::byte> PixMapBuffer::Storage() const {
    return state_->storage;
}

std::vector<std::byte> PixMapBuffer::PixelBytes() const {
    const State& s = *state_;
    const std::size_t rowBytes = std::size_t(s.width) * s.bytesPerPixel;
    std::vector<std::byte> bytes;
    bytes.reserve(rowBytes * s.height);
    for (int v = 0; v < s.height; ++v) {
        const std::byte* row = s.storage.data() + s.guardBytes + std::size_t(v) * s.RowStride();
        bytes.insert(bytes.end(), row, row + rowBytes);
    }
    return bytes;
}

bool PixMapBuffer::GuardsIntact() const {
    const State& s = *state_;
    const std::byte guard{s.guardValue};
    auto allGuard = [&](std::size_t from, std::size_t count) {
        return std::all_of(s.storage.begin() + std::ptrdiff_t(from),
                           s.storage.begin() + std::ptrdiff_t(from + count),
                           [&](std::byte b) { return b == guard; });
    };
    if (!allGuard(0, s.guardBytes)) return false;
    if (!allGuard(s.storage.size() - s.guardBytes, s.guardBytes)) return false;
    const std::size_t pixelRow = std::size_t(s.width) * s.bytesPerPixel;
    for (int v = 0; v < s.height; ++v)
        if (!allGuard(s.guardBytes + std::size_t(v) * s.RowStride() + pixelRow, s.rowPadding))
            return false;
    return true;
}

} // namespace zt
