// Named data kept for one plug-in in one file (the plug-in's stored settings,
// such as its movie folder), replaced atomically on every change: a new file is
// written beside the old one, flushed to disk, and renamed over it, so a crash
// leaves either the old contents or the new, never a mix.
//
// Host's thread only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zt::host {

class NamedDataStore {
  public:
    // The most a value may hold; larger values are refused.
    static constexpr size_t kMaxValueSize = 1 << 20;
    // Names are length-prefixed strings on the plug-in's side: up to 255 bytes.
    // The empty name holds the plug-in's unnamed data.
    static constexpr size_t kMaxNameSize = 255;

    // Reads the file when there is one. A damaged file is moved aside to
    // FILE.damaged (kept for a person to look at) and reported through
    // loadProblem(); the store then starts empty.
    static NamedDataStore Open(std::filesystem::path file);
    // A store that keeps its values for this run only and writes no file.
    static NamedDataStore InMemory() { return NamedDataStore({}); }

    // The bytes last stored under name; none when nothing is.
    std::optional<std::span<const uint8_t>> Get(std::string_view name) const;

    // Stores the bytes and rewrites the file. On failure the file stays as it
    // was, the value is still kept for this run, and the reason is returned.
    std::optional<std::string> Set(std::string_view name, std::span<const uint8_t> bytes);

    const std::optional<std::string>& loadProblem() const { return loadProblem_; }
    const std::filesystem::path& file() const { return file_; } // empty: in memory

  private:
    explicit NamedDataStore(std::filesystem::path file) : file_(std::move(file)) {}
    std::optional<std::string> Write() const;

    std::filesystem::path file_;
    std::map<std::string, std::vector<uint8_t>, std::less<>> entries_;
    std::optional<std::string> loadProblem_;
};

// The file format, exposed for tests: "ZTNAMED1", a 32-bit count, then per entry
// a length byte and the name, a 32-bit size and the bytes, then a 64-bit FNV-1a
// checksum of everything before it; integers little-endian.
std::vector<uint8_t> EncodeNamedData(const std::map<std::string, std::vector<uint8_t>, std::less<>>& entries);
// The entries, or why the bytes are not a valid file.
std::optional<std::string> DecodeNamedData(std::span<const uint8_t> bytes,
                                           std::map<std::string, std::vector<uint8_t>, std::less<>>& entries);

// Where a plug-in's named data lives: $XDG_CONFIG_HOME/zoetropica/NAME.named-data
// (~/.config when XDG_CONFIG_HOME is unset or not absolute); NAME is the plug-in's
// registered name with anything but letters, digits, '.', '-' and '_' made '_'.
std::filesystem::path NamedDataFileFor(std::string_view pluginName);

} // namespace zt::host
