// References and file specifications as this folder service makes them, and the
// way back from them to paths. This is the internal API the movie service uses
// to find the file an FSSpec names.
//
// An FSRef holds the four bytes "ZtNd" and a node id of the catalog; the rest is
// zero. An FSSpec holds kVolumeRefNum, the parent folder's node id and the name;
// a name longer than 63 bytes is carried as a mangled short name: a prefix of
// the name cut at a character boundary, '#', the item's node id in hex, and the
// name's extension, which the catalog resolves back to the real name.
#pragma once

#include "Files.h"

#include <optional>
#include <string>
#include <string_view>

namespace zt::files {

constexpr SInt16 kVolumeRefNum = -100;

// A reference to a node id.
FSRef RefForNode(UInt32 id);
// The node id a reference holds; nullopt for an all-zero or foreign reference.
std::optional<UInt32> NodeOfRef(const FSRef& ref);

// The path a reference names; nullopt when it names nothing the catalog knows.
std::optional<std::string> PathOfRef(const FSRef& ref);
// The path a file specification names (the parent's path joined with the name,
// a mangled name resolved); nullopt for an unknown parent or a name that cannot
// be part of a path ("." , "..", a slash or a NUL byte). An empty name names the
// parent folder itself. The file need not exist.
std::optional<std::string> PathOfSpec(const FSSpec& spec);

// The file specification of an item, given its parent's node id and its normal
// path; a long name is mangled (which gives the item a node id).
FSSpec SpecForItem(UInt32 parentId, const std::string& path, bool isFolder);
// The Str63 name an item's specification carries.
std::string ShortNameFor(std::string_view name, UInt32 itemId);

} // namespace zt::files
