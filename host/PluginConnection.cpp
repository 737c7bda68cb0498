#include "PluginConnection.h"

#include <algorithm>
#include <cstring>

#include "Files.h"
#include "FourCharCode.h"

namespace zt::host {
namespace {

std::string StatusText(OSStatus status) { return std::to_string(status); }

// A URL as the plug-in passed it, made safe to print on one line.
std::string Printable(const SInt8* text, UInt32 length) {
    std::string out;
    for (UInt32 i = 0; i < std::min<UInt32>(length, 512); ++i) {
        char c = char(text[i]);
        out += (c >= 0x20 && c < 0x7f) ? c : '?';
    }
    return out;
}

} // namespace

PluginConnection::PluginConnection(PluginEntryPoint entry, std::filesystem::path pluginFile,
                                   Reporter& reporter, NamedDataLocation location)
    : entry_(entry), pluginFile_(std::move(pluginFile)), reporter_(reporter),
      location_(std::move(location)), hostThread_(std::this_thread::get_id()) {}

PluginConnection::~PluginConnection() { CleanUp(); }

std::string PluginConnection::registeredName() const {
    return std::string(reinterpret_cast<const char*>(registration_.name + 1),
                       std::min<size_t>(registration_.name[0], sizeof(Str63) - 1));
}

std::optional<std::string> PluginConnection::Register() {
    PluginMessageInfo info{};
    info.initMessage.majorVersion = kITPluginMajorMessageVersion;
    info.initMessage.minorVersion = kITPluginMinorMessageVersion;
    info.initMessage.appCookie = this;
    info.initMessage.appProc = &PluginConnection::AppProc;
    stage_ = Stage::EntryInit;
    OSStatus status = entry_(kPluginInitMessage, &info, nullptr);
    stage_ = Stage::Registered;
    if (status != noErr)
        return "the plug-in's entry point failed to initialise (status " + StatusText(status) + ")";
    if (!registered_)
        return "the plug-in did not register a visual plug-in when initialised";

    std::optional<std::filesystem::path> file = location_(registeredName());
    store_ = file ? NamedDataStore::Open(*file) : NamedDataStore::InMemory();
    if (store_->loadProblem()) reporter_.Error(*store_->loadProblem());
    return std::nullopt;
}

std::optional<std::string> PluginConnection::InitialiseVisual() {
    if (!registered_) return "no visual plug-in is registered";
    VisualPluginMessageInfo info{};
    info.initMessage.messageMajorVersion = kITPluginMajorMessageVersion;
    info.initMessage.messageMinorVersion = kITPluginMinorMessageVersion;
    info.initMessage.appVersion = NumVersion{1, 0, 0x80, 0};
    info.initMessage.appCookie = this;
    info.initMessage.appProc = &PluginConnection::AppProc;
    OSStatus status = registration_.handler(kVisualPluginInitMessage, &info, nullptr);
    refCon_ = info.initMessage.refCon;
    if (refCon_ == nullptr)
        return "the plug-in's handler made no instance record on 'init' (status " +
               StatusText(status) + ")";
    stage_ = Stage::Visual;
    if (status != noErr)
        reporter_.Note("the plug-in's handler answered 'init' with status " + StatusText(status) +
                       "; carrying on");
    return std::nullopt;
}

OSStatus PluginConnection::Send(OSType message, VisualPluginMessageInfo& info) {
    if (stage_ != Stage::Visual || refCon_ == nullptr) return unimpErr;
    return registration_.handler(message, &info, refCon_);
}

void PluginConnection::CleanUp() {
    if (stage_ == Stage::Loaded || stage_ == Stage::CleanedUp) return;
    if (refCon_ != nullptr) {
        VisualPluginMessageInfo info{};
        OSStatus status = registration_.handler(kVisualPluginCleanupMessage, &info, refCon_);
        if (status != noErr)
            reporter_.Note("the plug-in's handler answered 'clr ' with status " + StatusText(status));
        refCon_ = nullptr;
    }
    PluginMessageInfo entryInfo{};
    entryInfo.initMessage.appCookie = this;
    entryInfo.initMessage.appProc = &PluginConnection::AppProc;
    entry_(kPluginCleanupMessage, &entryInfo, nullptr);
    stage_ = Stage::CleanedUp;
}

OSStatus PluginConnection::AppProc(void* appCookie, OSType message, PlayerMessageInfo* info) {
    return static_cast<PluginConnection*>(appCookie)->Answer(message, info);
}

OSStatus PluginConnection::Answer(OSType message, PlayerMessageInfo* info) {
    const std::string code = CodeText(message);
    if (std::this_thread::get_id() != hostThread_) {
        reporter_.Misuse("request " + code + " came from a thread other than the host's; refused");
        return paramErr;
    }
    if (info == nullptr) {
        reporter_.Misuse("request " + code + " came without a record; refused");
        return paramErr;
    }
    if (info->messageMajorVersion != kITPluginMajorMessageVersion ||
        info->messageInfoSize != sizeof(PlayerMessageInfo)) {
        reporter_.Misuse("request " + code + " carries a record of version " +
                         std::to_string(info->messageMajorVersion) + " and " +
                         std::to_string(info->messageInfoSize) + " bytes; this host takes version " +
                         std::to_string(kITPluginMajorMessageVersion) + " and " +
                         std::to_string(sizeof(PlayerMessageInfo)) +
                         " bytes (was the plug-in built for another machine?); refused");
        return paramErr;
    }

    switch (message) {
    case kPlayerRegisterVisualPluginMessage:
        return RegisterVisual(info->u.registerVisualPluginMessage);
    case kPlayerGetPluginFileSpecMessage:
        return GetFileSpec(info->u.getPluginFileSpecMessage);
    case kPlayerGetPluginNamedDataMessage: {
        auto& get = info->u.getPluginNamedDataMessage;
        std::optional<std::string_view> name = NameOf(get.dataName, message);
        if (!name || *name == std::string_view()) {
            if (name) reporter_.Misuse("request 'gnpr' names no data (an empty name); refused");
            return paramErr;
        }
        return GetNamedData(*name, get.dataPtr, get.dataBufferSize, get.dataSize);
    }
    case kPlayerSetPluginNamedDataMessage: {
        auto& set = info->u.setPluginNamedDataMessage;
        std::optional<std::string_view> name = NameOf(set.dataName, message);
        if (!name || *name == std::string_view()) {
            if (name) reporter_.Misuse("request 'snpr' names no data (an empty name); refused");
            return paramErr;
        }
        return SetNamedData(*name, set.dataPtr, set.dataSize);
    }
    // The unnamed plug-in data lives under the empty name of the same store.
    case kPlayerGetPluginDataMessage: {
        auto& get = info->u.getPluginDataMessage;
        return GetNamedData({}, get.dataPtr, get.dataBufferSize, get.dataSize);
    }
    case kPlayerSetPluginDataMessage: {
        auto& set = info->u.setPluginDataMessage;
        return SetNamedData({}, set.dataPtr, set.dataSize);
    }
    case kPlayerSetFullScreenMessage:
    case kPlayerSetFullScreenOptionsMessage:
    case kPlayerIdleMessage:
        return noErr; // nothing to do offscreen, and the host idles on its own
    case kPlayerShowAboutMessage:
        reporter_.Note("the plug-in asked to show its about box");
        return noErr;
    case kPlayerOpenURLMessage: {
        const auto& url = info->u.openURLMessage;
        if (url.url == nullptr) return paramErr;
        reporter_.Note("the plug-in asked to open " + Printable(url.url, url.length) +
                       " (not opened)");
        return noErr;
    }
    case kPlayerHandleMacOSEventMessage:
        info->u.handleMacOSEventMessage.handled = false;
        return noErr;
    case kPlayerUnregisterPluginMessage:
    case kPlayerRegisterDevicePluginMessage:
    case kPlayerSetDeviceSerialNumberMessage:
        reporter_.Note("the plug-in made request " + code + ", which this host does not offer");
        return unimpErr;
    default:
        reporter_.Misuse("unknown request " + code);
        return unimpErr;
    }
}

OSStatus PluginConnection::RegisterVisual(const PlayerRegisterVisualPluginMessage& request) {
    if (stage_ != Stage::EntryInit) {
        reporter_.Misuse("'rvis' outside the entry point's 'init'; refused");
        return paramErr;
    }
    if (registered_) {
        reporter_.Misuse("a second visual plug-in registered; only the first is driven");
        return paramErr;
    }
    if (request.handler == nullptr) {
        reporter_.Misuse("'rvis' without a message handler; refused");
        return paramErr;
    }
    if (request.name[0] == 0 || request.name[0] >= sizeof(Str63)) {
        reporter_.Misuse("'rvis' with a name of " + std::to_string(request.name[0]) +
                         " bytes (a Str63 holds 1 to 63); refused");
        return paramErr;
    }
    if (request.minWidth < 1 || request.minHeight < 1 || request.maxWidth < request.minWidth ||
        request.maxHeight < request.minHeight) {
        reporter_.Misuse("'rvis' with size limits from " + std::to_string(request.minWidth) + "x" +
                         std::to_string(request.minHeight) + " to " +
                         std::to_string(request.maxWidth) + "x" +
                         std::to_string(request.maxHeight) + ", which no window fits; refused");
        return paramErr;
    }
    registration_ = request;
    registered_ = true;
    return noErr;
}

OSStatus PluginConnection::GetFileSpec(const PlayerGetPluginFileSpecMessage& request) {
    if (request.fileSpec == nullptr) {
        reporter_.Misuse("'pspc' without a file specification to fill; refused");
        return paramErr;
    }
    FSRef ref{};
    OSStatus status = FSPathMakeRef(reinterpret_cast<const UInt8*>(pluginFile_.c_str()), &ref, nullptr);
    if (status == noErr)
        status = FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, request.fileSpec, nullptr);
    if (status != noErr)
        reporter_.Error("cannot make the plug-in's file specification for " + pluginFile_.string() +
                        " (status " + StatusText(status) + ")");
    return status;
}

std::optional<std::string_view> PluginConnection::NameOf(ConstStringPtr name, OSType message) {
    if (name == nullptr) {
        reporter_.Misuse("request " + CodeText(message) + " without a name; refused");
        return std::nullopt;
    }
    return std::string_view(reinterpret_cast<const char*>(name + 1), name[0]);
}

OSStatus PluginConnection::GetNamedData(std::string_view name, void* dataPtr, UInt32 bufferSize,
                                        UInt32& dataSize) {
    if (dataPtr == nullptr && bufferSize > 0) {
        reporter_.Misuse("a request for stored data without a buffer; refused");
        return paramErr;
    }
    std::optional<std::span<const uint8_t>> stored = store_ ? store_->Get(name) : std::nullopt;
    if (!stored) {
        dataSize = 0;
        return kNamedDataNotFound; // the buffer stays untouched
    }
    if (bufferSize > 0) std::memcpy(dataPtr, stored->data(), std::min<size_t>(stored->size(), bufferSize));
    dataSize = UInt32(stored->size());
    return noErr;
}

OSStatus PluginConnection::SetNamedData(std::string_view name, const void* dataPtr, UInt32 dataSize) {
    if (dataPtr == nullptr && dataSize > 0) {
        reporter_.Misuse("a request to store data without the data; refused");
        return paramErr;
    }
    if (!store_) {
        reporter_.Misuse("a request to store data before registering; refused");
        return paramErr;
    }
    auto* bytes = static_cast<const uint8_t*>(dataPtr);
    std::optional<std::string> problem =
        store_->Set(name, std::span<const uint8_t>(bytes, dataSize));
    if (problem) {
        reporter_.Error("cannot keep the plug-in's stored data: " + *problem);
        return kNamedDataNotWritten;
    }
    return noErr;
}

} // namespace zt::host
