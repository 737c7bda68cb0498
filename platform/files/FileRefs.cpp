#include "FileRefs.h"

#include "Catalog.h"

#include <cstdio>
#include <cstring>

namespace zt::files {

namespace {
constexpr UInt8 kRefMagic[4] = {'Z', 't', 'N', 'd'};
constexpr size_t kShortNameLimit = 63;
constexpr size_t kLongestKeptExtension = 16;

bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// A prefix of at most `limit` bytes that does not split a UTF-8 character.
std::string_view CutAtCharacter(std::string_view text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t cut = limit;
    for (int back = 0; back < 3 && cut > 0 && IsUtf8Continuation(text[cut]); ++back) --cut;
    return text.substr(0, cut);
}

bool IsPathName(std::string_view name) {
    return name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// The node id written in a mangled name ("...#1A2B3C4D.ext"), if it looks like one.
std::optional<UInt32> MangledNode(std::string_view name) {
    size_t hash = name.rfind('#');
    if (hash == std::string_view::npos) return std::nullopt;
    UInt32 id = 0;
    size_t i = hash + 1, digits = 0;
    for (; i < name.size() && digits < 8; ++i, ++digits) {
        char c = name[i];
        int v = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (v < 0) break;
        id = id << 4 | UInt32(v);
    }
    if (digits == 0) return std::nullopt;
    return id;
}
} // namespace

FSRef RefForNode(UInt32 id) {
    FSRef ref{};
    std::memcpy(ref.hidden, kRefMagic, 4);
    std::memcpy(ref.hidden + 4, &id, 4);
    return ref;
}

std::optional<UInt32> NodeOfRef(const FSRef& ref) {
    if (std::memcmp(ref.hidden, kRefMagic, 4) != 0) return std::nullopt;
    UInt32 id = 0;
    std::memcpy(&id, ref.hidden + 4, 4);
    if (id == kNoNode || id == kParentOfRootNode) return std::nullopt;
    return id;
}

std::optional<std::string> PathOfRef(const FSRef& ref) {
    std::optional<UInt32> id = NodeOfRef(ref);
    if (!id) return std::nullopt;
    return Catalog::Instance().PathOf(*id);
}

std::string ShortNameFor(std::string_view name, UInt32 itemId) {
    if (name.size() <= kShortNameLimit) return std::string(name);
    char tag[16];
    std::snprintf(tag, sizeof tag, "#%X", unsigned(itemId));
    std::string_view extension;
    if (size_t dot = name.rfind('.'); dot != std::string_view::npos && dot > 0 &&
                                      name.size() - dot <= kLongestKeptExtension &&
                                      name.find('#', dot) == std::string_view::npos)
        extension = name.substr(dot);
    std::string shortName(CutAtCharacter(name, kShortNameLimit - std::strlen(tag) - extension.size()));
    shortName += tag;
    shortName.append(extension);
    return shortName;
}

std::optional<std::string> PathOfSpec(const FSSpec& spec) {
    Catalog& catalog = Catalog::Instance();
    if (UInt32(spec.parID) == kParentOfRootNode) return std::string("/");
    std::optional<std::string> parent = catalog.PathOf(UInt32(spec.parID));
    if (!parent) return std::nullopt;
    std::string_view name(reinterpret_cast<const char*>(spec.name + 1),
                          std::min<size_t>(spec.name[0], kShortNameLimit));
    if (name.empty()) return parent;
    if (!IsPathName(name)) return std::nullopt;
    // A mangled name stands for the catalog's item when that item lives in this
    // folder and mangles to exactly this name.
    if (std::optional<UInt32> id = MangledNode(name)) {
        if (std::optional<std::string> item = catalog.PathOf(*id);
            item && ParentPath(*item) == *parent && ShortNameFor(LastName(*item), *id) == name)
            return item;
    }
    return JoinPath(*parent, name);
}

FSSpec SpecForItem(UInt32 parentId, const std::string& path, bool isFolder) {
    FSSpec spec{};
    spec.vRefNum = kVolumeRefNum;
    spec.parID = SInt32(parentId);
    std::string name = LastName(path);
    UInt32 id = name.size() > kShortNameLimit ? Catalog::Instance().IdFor(path, isFolder) : kNoNode;
    std::string shortName = ShortNameFor(name, id);
    spec.name[0] = UInt8(shortName.size());
    std::memcpy(spec.name + 1, shortName.data(), shortName.size());
    return spec;
}

} // namespace zt::files
