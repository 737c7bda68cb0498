// The folder chooser and the Apple Event descriptors it answers with: a list
// holding the chosen folder as an FSRef, coercible to an FSSpec.
#include <algorithm>
#include <cstring>

#include "WindowsLog.h"
#include "WindowsToolbox.h"

// A descriptor's data: plain bytes, or for a list its items (owned).
struct OpaqueAEDataStorage {
    std::vector<UInt8> bytes;
    std::vector<AEDesc> items;
    ~OpaqueAEDataStorage() {
        for (AEDesc& item : items)
            AEDisposeDesc(&item);
    }
};

using namespace zt::windows;

namespace {

AEDesc NullDesc() {
    return AEDesc{typeNull, nullptr};
}

AEDesc BytesDesc(DescType type, const void* data, size_t size) {
    auto storage = std::make_unique<OpaqueAEDataStorage>();
    const auto* bytes = static_cast<const UInt8*>(data);
    storage->bytes.assign(bytes, bytes + size);
    return AEDesc{type, storage.release()};
}

// A one-item list of the folder's FSRef, or the error of making the reference.
OSStatus FolderSelection(const std::filesystem::path& folder, AEDescList* selection) {
    FSRef ref{};
    Boolean isDirectory = 0;
    OSStatus status =
        FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &ref, &isDirectory);
    if (status != noErr) {
        LogWindowsProblem("the chosen folder %s cannot be used (%d)", folder.c_str(), int(status));
        return status;
    }
    if (!isDirectory) {
        LogWindowsProblem("the chosen %s is not a folder", folder.c_str());
        return dirNFErr;
    }
    auto list = std::make_unique<OpaqueAEDataStorage>();
    list->items.push_back(BytesDesc(typeFSRef, &ref, sizeof ref));
    *selection = AEDesc{typeAEList, list.release()};
    return noErr;
}

void SetPascal(Str255 dest, std::string_view text) {
    size_t n = std::min<size_t>(text.size(), 255);
    dest[0] = UInt8(n);
    std::memcpy(dest + 1, text.data(), n);
}

} // namespace

OSErr NavGetDefaultDialogOptions(NavDialogOptions* dialogOptions) {
    if (dialogOptions == nullptr) return paramErr;
    *dialogOptions = NavDialogOptions{};
    dialogOptions->location = Point{-1, -1};
    SetPascal(dialogOptions->windowTitle, "Choose Folder");
    SetPascal(dialogOptions->actionButtonLabel, "Choose");
    SetPascal(dialogOptions->cancelButtonLabel, "Cancel");
    return noErr;
}

OSErr NavChooseFolder(AEDesc*, NavReplyRecord* reply, NavDialogOptions* dialogOptions, NavEventUPP,
                      NavObjectFilterUPP, void*) {
    if (reply == nullptr) return paramErr;
    *reply = NavReplyRecord{};
    reply->selection = NullDesc();
    try {
        NavDialogOptions options{};
        if (dialogOptions != nullptr)
            options = *dialogOptions;
        else
            NavGetDefaultDialogOptions(&options);
        WindowsToolbox& toolbox = Toolbox();
        std::optional<FolderPreset> preset = std::move(toolbox.folderPreset);
        toolbox.folderPreset.reset();
        FolderAnswer answer = ActiveBackend().ChooseFolder(options, std::move(preset));
        if (answer.status != noErr) return OSErr(answer.status);
        OSStatus status = FolderSelection(answer.folder, &reply->selection);
        if (status != noErr) return OSErr(status);
        reply->validRecord = true;
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr NavDisposeReply(NavReplyRecord* reply) {
    if (reply == nullptr) return paramErr;
    AEDisposeDesc(&reply->selection);
    reply->validRecord = false;
    return noErr;
}

OSErr AECoerceDesc(const AEDesc* theAEDesc, DescType toType, AEDesc* result) {
    if (result == nullptr) return paramErr;
    *result = NullDesc();
    if (theAEDesc == nullptr) return paramErr;
    try {
        const OpaqueAEDataStorage* data = theAEDesc->dataHandle;
        if (theAEDesc->descriptorType == typeAEList) {
            if (data == nullptr || data->items.empty()) return errAECoercionFail;
            return AECoerceDesc(&data->items.front(), toType, result);
        }
        if (data == nullptr) return errAECoercionFail;
        if (theAEDesc->descriptorType == toType) {
            *result = BytesDesc(toType, data->bytes.data(), data->bytes.size());
            return noErr;
        }
        if (theAEDesc->descriptorType == typeFSRef && toType == typeFSS &&
            data->bytes.size() == sizeof(FSRef)) {
            FSRef ref;
            std::memcpy(&ref, data->bytes.data(), sizeof ref);
            FSSpec spec{};
            if (FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr) != noErr)
                return errAECoercionFail;
            *result = BytesDesc(typeFSS, &spec, sizeof spec);
            return noErr;
        }
        return errAECoercionFail;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

Size AEGetDescDataSize(const AEDesc* theAEDesc) {
    if (theAEDesc == nullptr || theAEDesc->dataHandle == nullptr) return 0;
    return Size(theAEDesc->dataHandle->bytes.size());
}

OSErr AEGetDescData(const AEDesc* theAEDesc, void* dataPtr, Size maximumSize) {
    if (theAEDesc == nullptr || dataPtr == nullptr || maximumSize < 0) return paramErr;
    if (theAEDesc->dataHandle == nullptr) return noErr;
    const std::vector<UInt8>& bytes = theAEDesc->dataHandle->bytes;
    std::memcpy(dataPtr, bytes.data(), std::min(bytes.size(), size_t(maximumSize)));
    return noErr;
}

OSErr AEDisposeDesc(AEDesc* theAEDesc) {
    if (theAEDesc == nullptr) return paramErr;
    delete theAEDesc->dataHandle;
    *theAEDesc = NullDesc();
    return noErr;
}
