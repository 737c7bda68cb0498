// The flat folder iterator: FSOpenIterator reads the folder's names once, sorted
// byte-wise, and FSGetCatalogInfoBulk hands them out in batches. An open
// iterator holds no file descriptor.
#include "Files.h"

#include "Catalog.h"
#include "FileRefs.h"
#include "LongPath.h"
#include "UniNames.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <vector>

struct OpaqueFSIterator {
    UInt32 folderId = zt::files::kNoNode;
    std::string folderPath;
    std::vector<zt::files::FolderItem> items;
    size_t next = 0;
};

namespace {

// The iterators handed out and not yet closed, so that a stray handle is refused.
struct LiveIterators {
    std::mutex mutex;
    std::set<OpaqueFSIterator*> live;
};

LiveIterators& Live() {
    alignas(LiveIterators) static unsigned char storage[sizeof(LiveIterators)];
    static LiveIterators* live = new (storage) LiveIterators;
    return *live;
}

bool IsLive(OpaqueFSIterator* iterator) {
    LiveIterators& live = Live();
    std::lock_guard lock(live.mutex);
    return live.live.count(iterator) != 0;
}

} // namespace

OSErr FSOpenIterator(const FSRef* container, OptionBits iteratorFlags, FSIterator* iterator) {
    using namespace zt::files;
    if (iterator == nullptr) return paramErr;
    *iterator = nullptr;
    if (container == nullptr || iteratorFlags != kFSIterateFlat) return paramErr;
    std::optional<UInt32> id = NodeOfRef(*container);
    if (!id) return paramErr;
    std::optional<std::string> path = Catalog::Instance().PathOf(*id);
    if (!path) return paramErr;
    try {
        auto opened = std::make_unique<OpaqueFSIterator>();
        std::optional<std::vector<FolderItem>> items = ListFolder(*path);
        if (!items) return errno == ENOMEM ? memFullErr : dirNFErr;
        opened->folderId = *id;
        opened->folderPath = std::move(*path);
        opened->items = std::move(*items);
        LiveIterators& live = Live();
        std::lock_guard lock(live.mutex);
        live.live.insert(opened.get());
        *iterator = opened.release();
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr FSCloseIterator(FSIterator iterator) {
    LiveIterators& live = Live();
    std::lock_guard lock(live.mutex);
    if (live.live.erase(iterator) == 0) return paramErr;
    delete iterator;
    return noErr;
}

OSErr FSGetCatalogInfoBulk(FSIterator iterator, UInt32 maximumObjects, UInt32* actualObjects,
                           Boolean* containerChanged, FSCatalogInfoBitmap /*whichInfo*/,
                           FSCatalogInfo* /*catalogInfos*/, FSRef* refs, FSSpec* specs,
                           HFSUniStr255* names) {
    using namespace zt::files;
    if (actualObjects != nullptr) *actualObjects = 0;
    if (containerChanged != nullptr) *containerChanged = false;
    if (iterator == nullptr || actualObjects == nullptr || !IsLive(iterator)) return paramErr;

    Catalog& catalog = Catalog::Instance();
    size_t count = std::min<size_t>(maximumObjects, iterator->items.size() - iterator->next);
    try {
        for (size_t i = 0; i < count; ++i) {
            const FolderItem& item = iterator->items[iterator->next + i];
            std::string path = JoinPath(iterator->folderPath, item.name);
            if (refs != nullptr) refs[i] = RefForNode(catalog.IdFor(path, item.isFolder));
            if (specs != nullptr) specs[i] = SpecForItem(iterator->folderId, path, item.isFolder);
            if (names != nullptr) FillUniName(item.name, names[i]);
        }
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
    catalog.Save();
    iterator->next += count;
    *actualObjects = UInt32(count);
    return iterator->next == iterator->items.size() ? errFSNoMoreItems : noErr;
}
