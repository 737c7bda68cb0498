// The toolbox's basic types: fixed-width integers, length-prefixed strings,
// four-character codes, rectangles, points, colours and status codes.
// Only what Zoetropica needs, written for a Linux machine of either width.
#pragma once

#include <cstddef>
#include <cstdint>

// Functions that the toolbox and the plug-in promise to other binaries.
#define ZT_EXPORT __attribute__((visibility("default")))

typedef uint8_t UInt8;
typedef int8_t SInt8;
typedef uint16_t UInt16;
typedef int16_t SInt16;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef int64_t SInt64;

typedef unsigned char Boolean; // one byte; 1 is true
typedef char* Ptr;
typedef Ptr* Handle;
typedef SInt32 Size;

typedef UInt32 OSType;      // four characters in one big word: 'init' is 0x696e6974
typedef SInt32 OSStatus;
typedef SInt16 OSErr;
typedef UInt32 OptionBits;

// Length-prefixed strings: one length byte, then that many bytes.
typedef unsigned char Str255[256];
typedef unsigned char Str63[64];
typedef unsigned char Str31[32];
typedef unsigned char* StringPtr;
typedef const unsigned char* ConstStringPtr;
typedef const unsigned char* ConstStr255Param;

// Builds a four-character code from its text: FourCC("init") == 0x696e6974.
constexpr OSType FourCC(const char (&code)[5]) {
    return (OSType(UInt8(code[0])) << 24) | (OSType(UInt8(code[1])) << 16) |
           (OSType(UInt8(code[2])) << 8) | OSType(UInt8(code[3]));
}
static_assert(FourCC("init") == 0x696e6974);

struct Rect {
    SInt16 top;
    SInt16 left;
    SInt16 bottom;
    SInt16 right;
};
static_assert(sizeof(Rect) == 8);

struct Point {
    SInt16 v;
    SInt16 h;
};
static_assert(sizeof(Point) == 4);

struct RGBColor {
    UInt16 red;
    UInt16 green;
    UInt16 blue;
};
static_assert(sizeof(RGBColor) == 6);

// Four bytes in this order; {1, 0, 0x80, 0} is version 1.0 final.
struct NumVersion {
    UInt8 majorRev;
    UInt8 minorAndBugRev;
    UInt8 stage;
    UInt8 nonRelRev;
};
static_assert(sizeof(NumVersion) == 4);

// Status codes.
enum : OSStatus {
    noErr = 0,
    unimpErr = -4,      // message or request not handled
    fnOpnErr = -38,     // the file is not open, or: a movie without a picture track
    eofErr = -39,
    paramErr = -50,
    memFullErr = -108,
    nsvErr = -35,       // no such volume
    fnfErr = -43,       // file not found
    dirNFErr = -120,    // folder not found
    userCanceledErr = -128,
    errFSNoMoreItems = -1417,
    errAECoercionFail = -1700,
    errAEDescNotFound = -1701,
    resNotFound = -192,
    invalidMovie = -2010,
    badImageDescription = -2001,
    eventNotHandledErr = -9874,
};

