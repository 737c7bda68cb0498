// The host's side of the plug-in interface: calls the entry point, answers every
// player request the plug-in makes through the application procedure, and
// carries visual messages to the handler the plug-in registered.
//
// Order: Register (the entry's 'init', during which the plug-in registers),
// InitialiseVisual (the handler's 'init', which hands back the instance record),
// any visual messages, CleanUp (the handler's 'clr ', then the entry's 'clr ').
// Everything runs on the host's thread, the one that made the connection; a
// request from any other thread is refused and reported.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "Expected.h"
#include "NamedDataStore.h"
#include "PluginBundle.h"
#include "Reporter.h"
#include "iTunesVisualAPI.h"

namespace zt::host {

// Where the named data of the plug-in registered under a name is kept; none:
// in memory, for this run only.
using NamedDataLocation =
    std::function<std::optional<std::filesystem::path>(std::string_view pluginName)>;

// The answer to 'gnpr' when nothing is stored under the name (the buffer is
// left untouched), and to 'snpr' when the store cannot be written.
inline constexpr OSStatus kNamedDataNotFound = resNotFound;
inline constexpr OSStatus kNamedDataNotWritten = -36; // ioErr

class PluginConnection {
  public:
    // pluginFile: the plug-in's own file, handed back on 'pspc'.
    PluginConnection(PluginEntryPoint entry, std::filesystem::path pluginFile, Reporter& reporter,
                     NamedDataLocation location = NamedDataFileFor);
    ~PluginConnection();
    PluginConnection(const PluginConnection&) = delete;
    PluginConnection& operator=(const PluginConnection&) = delete;

    // The entry's 'init'. An error when it fails or the plug-in did not register
    // a visual plug-in; on success the plug-in's named data is open.
    std::optional<std::string> Register();
    // The handler's 'init'. An error when no instance record came back.
    std::optional<std::string> InitialiseVisual();
    // A visual message with the instance record; unimpErr before InitialiseVisual.
    OSStatus Send(OSType message, VisualPluginMessageInfo& info);
    // The handler's 'clr ' and the entry's 'clr ', each sent once, when due.
    void CleanUp();

    const PlayerRegisterVisualPluginMessage& registration() const { return registration_; }
    std::string registeredName() const;
    bool wantsIdleMessages() const { return (registration_.options & kVisualWantsIdleMessages) != 0; }
    // The plug-in's named data; null until it registered.
    NamedDataStore* namedData() { return store_ ? &*store_ : nullptr; }

    // The application procedure's work: answers one player request.
    OSStatus Answer(OSType message, PlayerMessageInfo* info);

  private:
    enum class Stage { Loaded, EntryInit, Registered, Visual, CleanedUp };

    static OSStatus AppProc(void* appCookie, OSType message, PlayerMessageInfo* info);
    OSStatus RegisterVisual(const PlayerRegisterVisualPluginMessage& request);
    OSStatus GetFileSpec(const PlayerGetPluginFileSpecMessage& request);
    OSStatus GetNamedData(std::string_view name, void* dataPtr, UInt32 bufferSize, UInt32& dataSize);
    OSStatus SetNamedData(std::string_view name, const void* dataPtr, UInt32 dataSize);
    std::optional<std::string_view> NameOf(ConstStringPtr name, OSType message);

    PluginEntryPoint entry_;
    std::filesystem::path pluginFile_;
    Reporter& reporter_;
    NamedDataLocation location_;
    std::thread::id hostThread_;

    Stage stage_ = Stage::Loaded;
    bool registered_ = false;
    PlayerRegisterVisualPluginMessage registration_{};
    void* refCon_ = nullptr;
    std::optional<NamedDataStore> store_;
};

} // namespace zt::host
