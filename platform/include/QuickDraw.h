// The drawing toolbox: pixel maps, colour tables, ports and offscreen worlds,
// colours, rectangles, text, and the block copy.
//
// A port is a 32-bit pixel map plus its drawing state (fore and back colour, pen,
// text size and mode). One port is current at a time; it is the toolbox's own
// state and belongs to the host's thread.
#pragma once

#include "MacTypes.h"

struct ColorSpec {
    SInt16 value;
    RGBColor rgb;
};
static_assert(sizeof(ColorSpec) == 8);

// ctSize is the number of entries minus one; ctTable holds ctSize + 1 entries.
struct ColorTable {
    SInt32 ctSeed;
    SInt16 ctFlags;
    SInt16 ctSize;
    ColorSpec ctTable[1];
};
typedef ColorTable* CTabPtr;
typedef CTabPtr* CTabHandle;

// A pixel map: pixels at baseAddr, rowBytes from one row to the next, pixel
// (bounds.left, bounds.top) first. Depth 8 indexes pmTable; 16 is x-5-5-5 and
// 32 is x-8-8-8 in native byte order. Read base and row bytes through
// GetPixBaseAddr and GetPixRowBytes.
struct PixMap {
    Ptr baseAddr;
    SInt32 rowBytes;
    Rect bounds;
    SInt16 pmVersion;
    SInt16 pixelType;
    SInt16 pixelSize;
    SInt16 cmpCount;
    SInt16 cmpSize;
    OSType pixelFormat;
    CTabHandle pmTable;
};
typedef PixMap* PixMapPtr;
typedef PixMapPtr* PixMapHandle;

typedef struct OpaqueGrafPtr* CGrafPtr;
typedef CGrafPtr GWorldPtr;
typedef struct OpaqueGDHandle* GDHandle;
typedef struct OpaqueRgnHandle* RgnHandle;
struct BitMap; // what CopyBits takes for a port: GetPortBitMapForCopyBits

typedef SInt16 QDErr;
typedef UInt32 GWorldFlags;
typedef void* LogicalAddress;
typedef unsigned long ByteCount;

// The eight classic colours for ForeColor and BackColor.
enum : SInt32 {
    blackColor = 33,
    whiteColor = 30,
    redColor = 205,
    greenColor = 341,
    blueColor = 409,
    cyanColor = 273,
    magentaColor = 137,
    yellowColor = 69,
};

enum : SInt16 { srcCopy = 0, srcOr = 1, srcXor = 2, srcBic = 3 };
enum : GWorldFlags { useTempMem = 4, pixelsLocked = 0 };

extern "C" {
// Pixel maps.
Ptr GetPixBaseAddr(PixMapHandle pm);
SInt32 GetPixRowBytes(PixMapHandle pm);
void MPBlockCopy(LogicalAddress source, LogicalAddress destination, ByteCount size);
Boolean MPIsFullyInitialized(void);

// Offscreen worlds and the current port. NewGWorld leaves *offscreenGWorld NULL
// when it fails; only depth 32 is offered. The world's pixels start zeroed, its
// bounds are those given, and its PixMapHandle stays valid until it is disposed.
// Until a port is set, GetGWorld answers the toolbox's own small default port
// (never NULL) and a NULL device; SetGWorld(NULL, ...) makes it current again,
// and so does disposing the current port. Ports that are not live (disposed, or
// never made) are refused with a log line on standard error.
QDErr NewGWorld(GWorldPtr* offscreenGWorld, SInt16 pixelDepth, const Rect* boundsRect,
                CTabHandle cTable, GDHandle aGDevice, GWorldFlags flags);
void DisposeGWorld(GWorldPtr offscreenWorld);
void GetGWorld(CGrafPtr* port, GDHandle* gdh);
void SetGWorld(CGrafPtr port, GDHandle gdh);
PixMapHandle GetGWorldPixMap(GWorldPtr offscreenWorld);
PixMapHandle GetPortPixMap(CGrafPtr port);
Rect* GetPortBounds(CGrafPtr port, Rect* rect);
Boolean LockPixels(PixMapHandle pm);
void UnlockPixels(PixMapHandle pm);

// Drawing in the current port. ForeColor and BackColor take the eight colour
// constants above (any other value leaves the colour unchanged); RGBForeColor
// and RGBBackColor take any colour, its components' upper bytes used. A new
// port draws black on white. PaintRect fills with the fore colour, clipped to
// the port.
void ForeColor(SInt32 color);
void BackColor(SInt32 color);
void RGBForeColor(const RGBColor* color);
void RGBBackColor(const RGBColor* color);
void PaintRect(const Rect* r);
void OffsetRect(Rect* r, SInt16 dh, SInt16 dv);
Boolean EqualRect(const Rect* rect1, const Rect* rect2);

// Text, in DejaVu Sans (the only font). TextSize is in pixels, 0 for the default
// of 12. DrawString draws the string's bytes as UTF-8 (a malformed byte shows as
// U+FFFD) with the baseline at the pen and moves the pen right by the text's
// width, which StringWidth measures. Modes: srcCopy paints the text's line box
// (the face's ascent above the baseline to its descent below, over the width)
// in the back colour, then the glyphs in the fore colour; srcOr (a new port's
// mode) draws only the glyphs; srcBic draws them in the back colour; srcXor
// inverts the pixels under them. Glyph edges are anti-aliased.
void TextSize(SInt16 size);
void TextMode(SInt16 mode);
void MoveTo(SInt16 h, SInt16 v);
void GetPen(Point* pt);
void DrawString(ConstStr255Param s);
SInt16 StringWidth(ConstStr255Param s);
// Copies at most 255 bytes, cut before a UTF-8 character that would be split;
// src and dst may be the same buffer. A NULL src gives the empty string.
void CopyCStringToPascal(const char* src, Str255 dst);

// The block copy between ports, srcCopy only (other modes copy as srcCopy): the
// source rectangle's pixels replace the destination rectangle's, scaled by
// nearest neighbour when the sizes differ, clipped to both ports' bounds; the
// rectangles may overlap in one port. No colouring by the fore and back colours;
// maskRgn is not supported and must be NULL.
const BitMap* GetPortBitMapForCopyBits(CGrafPtr port);
void CopyBits(const BitMap* srcBits, const BitMap* dstBits, const Rect* srcRect,
              const Rect* dstRect, SInt16 mode, RgnHandle maskRgn);

// For hosts: a 32-bit port over pixels the caller owns (a window's frame buffer),
// x-8-8-8 in native byte order, rowBytes from one row to the next, the first
// pixel at (bounds.left, bounds.top). NULL when the arguments make no port.
CGrafPtr NewPortOnPixels(Ptr baseAddr, SInt32 rowBytes, const Rect* bounds);
// Frees a port made by NewPortOnPixels (not its pixels); NULL does nothing.
void DisposePortOnPixels(CGrafPtr port);
}
