// References from paths and file specifications, and back: the calls the
// plug-in's settings window and the host make.
#include "Files.h"

#include "Catalog.h"
#include "FileRefs.h"
#include "LongPath.h"
#include "UniNames.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace {

OSErr ErrorOfErrno(int error) {
    switch (error) {
    case ENOENT: return fnfErr;
    case ENOTDIR: return dirNFErr;
    case ENOMEM: return memFullErr;
    default: return paramErr;
    }
}

// A reference for an existing normal path; the catalog is saved when it grew.
OSErr MakeRef(const std::string& path, FSRef* ref, Boolean* isDirectory) {
    using namespace zt::files;
    struct stat info {};
    if (!StatPath(path, info)) return ErrorOfErrno(errno);
    bool isFolder = S_ISDIR(info.st_mode);
    Catalog& catalog = Catalog::Instance();
    *ref = RefForNode(catalog.IdFor(path, isFolder));
    catalog.Save();
    if (isDirectory != nullptr) *isDirectory = isFolder;
    return noErr;
}

} // namespace

OSErr FSpMakeFSRef(const FSSpec* source, FSRef* newRef) {
    if (source == nullptr || newRef == nullptr) return paramErr;
    try {
        std::optional<std::string> path = zt::files::PathOfSpec(*source);
        if (!path) return source->name[0] == 0 ? dirNFErr : fnfErr;
        return MakeRef(*path, newRef, nullptr);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap /*whichInfo*/,
                       FSCatalogInfo* /*catalogInfo*/, HFSUniStr255* outName, FSSpec* fsSpec,
                       FSRef* parentRef) {
    using namespace zt::files;
    if (ref == nullptr) return paramErr;
    try {
        std::optional<std::string> path = PathOfRef(*ref);
        if (!path) return paramErr;
        Catalog& catalog = Catalog::Instance();
        UInt32 parentId = *path == "/" ? kParentOfRootNode : catalog.IdFor(ParentPath(*path), true);
        if (fsSpec != nullptr) {
            struct stat info {};
            bool isFolder = StatPath(*path, info) && S_ISDIR(info.st_mode);
            *fsSpec = SpecForItem(parentId, *path, isFolder);
        }
        if (parentRef != nullptr) *parentRef = RefForNode(parentId);
        if (outName != nullptr) {
            FillUniName(LastName(*path), *outName);
        }
        catalog.Save();
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory) {
    if (path == nullptr || ref == nullptr || path[0] == 0) return paramErr;
    try {
        std::string normal = zt::files::NormalPath(reinterpret_cast<const char*>(path));
        if (normal.empty()) return fnfErr;
        return MakeRef(normal, ref, isDirectory);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize) {
    if (ref == nullptr || path == nullptr || maxPathSize == 0) return paramErr;
    try {
        std::optional<std::string> known = zt::files::PathOfRef(*ref);
        if (!known) return paramErr;
        if (known->size() + 1 > maxPathSize) return pathTooLongErr;
        std::memcpy(path, known->c_str(), known->size() + 1);
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}
