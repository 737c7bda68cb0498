// The folder service: references to folders and files, and a flat, batched
// listing of a folder's items in byte-wise name order.
//
// An FSRef is 80 opaque bytes naming a file or folder by a node id of the
// platform's catalog (a small persistent table from node id to path), so a
// reference survives restarts and works for paths of any length and bytes.
// An FSSpec is the parent folder's node id plus a Str63 name; a longer name is
// carried as a mangled short name that the catalog resolves.
#pragma once

#include "MacTypes.h"

// Classic records use 2-byte alignment: an FSSpec is 70 bytes.
#pragma pack(push, 2)
struct FSSpec {
    SInt16 vRefNum;
    SInt32 parID;
    Str63 name;
};
#pragma pack(pop)
static_assert(sizeof(FSSpec) == 70);

struct FSRef {
    UInt8 hidden[80];
};
static_assert(sizeof(FSRef) == 80);

struct HFSUniStr255 {
    UInt16 length;
    UInt16 unicode[255];
};

struct FSCatalogInfo; // no catalog information is offered; callers pass NULL

typedef struct OpaqueFSIterator* FSIterator;
typedef UInt32 FSCatalogInfoBitmap;

enum : FSCatalogInfoBitmap { kFSCatInfoNone = 0 };
enum : OptionBits { kFSIterateFlat = 0 };
enum : OSStatus { pathTooLongErr = -2110 }; // FSRefMakePath: the buffer is too small

extern "C" {
// Opens an iterator over the folder's own items (no descent). Errors: paramErr for
// a NULL or unknown reference, dirNFErr when the folder is gone or not a folder.
OSErr FSOpenIterator(const FSRef* container, OptionBits iteratorFlags, FSIterator* iterator);
OSErr FSCloseIterator(FSIterator iterator);
// Up to maximumObjects items, in byte-wise name order; refs and specs may be NULL.
// Returns errFSNoMoreItems once the listing is exhausted (possibly with the last items).
OSErr FSGetCatalogInfoBulk(FSIterator iterator, UInt32 maximumObjects, UInt32* actualObjects,
                           Boolean* containerChanged, FSCatalogInfoBitmap whichInfo,
                           FSCatalogInfo* catalogInfos, FSRef* refs, FSSpec* specs,
                           HFSUniStr255* names);
OSErr FSpMakeFSRef(const FSSpec* source, FSRef* newRef);
// The file specification (and the parent folder's reference) of a reference;
// no catalog information is offered (whichInfo kFSCatInfoNone, catalogInfo NULL).
OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo,
                       FSCatalogInfo* catalogInfo, HFSUniStr255* outName, FSSpec* fsSpec,
                       FSRef* parentRef);

// For the host: a reference for a path (NUL-terminated bytes; relative to the
// current folder unless it starts with '/'; fnfErr when nothing is there), and
// the path back (NUL-terminated; pathTooLongErr when maxPathSize is too small,
// paramErr for a reference that names nothing).
OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);
OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize);
}
