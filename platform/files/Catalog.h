// The catalog: the platform's persistent table from node id to path. References
// name folders and files by node id, so they survive restarts and work for paths
// of any length and any bytes.
//
// A node id is derived from the path (a hash, moved on past ids in use), so two
// processes that meet the same path mostly agree on its id. The table lives in
// $XDG_STATE_HOME/zoetropica/catalog (~/.local/state when unset) and is saved by
// writing a temporary file, syncing it and renaming it over the old one, under a
// lock file, merged with what other processes saved meanwhile. Entries of files
// that no longer exist are dropped when the table is saved; folders are kept (a
// stored folder may come back, on a disk plugged in again). When the state
// folder cannot be used, the table lives in memory only and one line says so.
#pragma once

#include "MacTypes.h"

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zt::files {

// Fixed node ids: 0 is none, 1 the parent of the root, 2 the root folder "/".
constexpr UInt32 kNoNode = 0;
constexpr UInt32 kParentOfRootNode = 1;
constexpr UInt32 kRootNode = 2;

class Catalog {
  public:
    // The process's catalog, loaded at first use.
    static Catalog& Instance();

    // The node id of an absolute, normal path (see NormalPath), made when new.
    // New ids are kept in memory until Save.
    UInt32 IdFor(const std::string& path, bool isFolder);
    // The path of a node id; nullopt for an unknown id.
    std::optional<std::string> PathOf(UInt32 id);
    // Saves the table when ids were made since the last save.
    void Save();
    // Forgets the table in memory and loads it afresh from the file named by
    // the environment now (for tests and for hosts that change the state folder).
    void Reload();

  private:
    struct Entry {
        std::string path;
        bool isFolder = false;
    };
    Catalog() = default;
    void LoadLocked();
    void AddLocked(UInt32 id, std::string path, bool isFolder);
    std::optional<std::string> FolderLocked(bool create) const;

    std::mutex mutex_;
    bool loaded_ = false;
    bool dirty_ = false;
    bool warnedUnsaved_ = false;
    std::unordered_map<UInt32, Entry> byId_;
    std::unordered_map<std::string, UInt32> byPath_;
};

// An absolute path without ".", "..", doubled or trailing slashes; a relative
// path is taken from the current folder. Empty when it cannot be made.
std::string NormalPath(std::string_view path);
// The parent folder of a normal path ("/" for "/x" and for "/").
std::string ParentPath(const std::string& normalPath);
// The last name of a normal path (empty for "/").
std::string LastName(const std::string& normalPath);
// A normal folder path joined with a name.
std::string JoinPath(const std::string& folder, std::string_view name);

} // namespace zt::files
