// Colours and PaintRect.
#include "Paint.h"

#include "DrawingLog.h"
#include "Toolbox.h"

#include <algorithm>
#include <optional>

using zt::drawing::Box;
using zt::drawing::LogDrawingProblem;
using zt::drawing::Pixel;
using zt::drawing::ToolboxSession;

namespace zt::drawing {

void FillBox(const OpaqueGrafPtr& port, const Box& box, Pixel color) {
    if (box.IsEmpty()) return;
    auto* row = reinterpret_cast<UInt8*>(port.At(box.left, box.top));
    for (int v = box.top; v < box.bottom; ++v, row += port.RowBytes())
        std::fill_n(reinterpret_cast<Pixel*>(row), box.Width(), color);
}

} // namespace zt::drawing

namespace {

// The eight classic colour constants, as pure pixel values.
struct ClassicEntry {
    SInt32 constant;
    Pixel pixel;
};
constexpr ClassicEntry kClassicColors[] = {
    {blackColor, 0x000000},   {whiteColor, 0xFFFFFF},  {redColor, 0xFF0000},
    {greenColor, 0x00FF00},   {blueColor, 0x0000FF},   {cyanColor, 0x00FFFF},
    {magentaColor, 0xFF00FF}, {yellowColor, 0xFFFF00},
};

std::optional<Pixel> ClassicColor(SInt32 color) {
    for (const ClassicEntry& entry : kClassicColors)
        if (entry.constant == color) return entry.pixel;
    return std::nullopt;
}

// The upper byte of each component, x-8-8-8 with a top byte of 0.
Pixel PixelOf(const RGBColor& rgb) {
    return (Pixel(rgb.red >> 8) << 16) | (Pixel(rgb.green >> 8) << 8) | Pixel(rgb.blue >> 8);
}

} // namespace

// An unknown colour constant leaves the colour as it was.
void ForeColor(SInt32 color) {
    std::optional<Pixel> pixel = ClassicColor(color);
    if (!pixel) return LogDrawingProblem("ForeColor", "not one of the eight colour constants");
    ToolboxSession session;
    session.CurrentPort().state.foreColor = *pixel;
}

void BackColor(SInt32 color) {
    std::optional<Pixel> pixel = ClassicColor(color);
    if (!pixel) return LogDrawingProblem("BackColor", "not one of the eight colour constants");
    ToolboxSession session;
    session.CurrentPort().state.backColor = *pixel;
}

void RGBForeColor(const RGBColor* color) {
    if (color == nullptr) return;
    ToolboxSession session;
    session.CurrentPort().state.foreColor = PixelOf(*color);
}

void RGBBackColor(const RGBColor* color) {
    if (color == nullptr) return;
    ToolboxSession session;
    session.CurrentPort().state.backColor = PixelOf(*color);
}

void PaintRect(const Rect* r) {
    if (r == nullptr) return;
    ToolboxSession session;
    const OpaqueGrafPtr& port = session.CurrentPort();
    zt::drawing::FillBox(port, Box::Of(*r).Intersect(port.Bounds()), port.state.foreColor);
}
