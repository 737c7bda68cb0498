#include "PlugInHost.h"

#include "Files.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

extern "C" OSStatus iTunesPluginMainMachO(OSType message, PluginMessageInfo* messageInfo, void* refCon);

namespace zt::bench {

PlugInHost::PlugInHost() {
    PluginMessageInfo entry{};
    entry.initMessage.majorVersion = kITPluginMajorMessageVersion;
    entry.initMessage.minorVersion = kITPluginMinorMessageVersion;
    entry.initMessage.appCookie = this;
    entry.initMessage.appProc = &PlugInHost::AppProc;
    if (iTunesPluginMainMachO(kPluginInitMessage, &entry, nullptr) != noErr || handler_ == nullptr)
        throw std::runtime_error("the plug-in did not register");
    VisualPluginMessageInfo init{};
    init.initMessage.messageMajorVersion = kITPluginMajorMessageVersion;
    init.initMessage.messageMinorVersion = kITPluginMinorMessageVersion;
    init.initMessage.appCookie = this;
    init.initMessage.appProc = &PlugInHost::AppProc;
    if (handler_(kVisualPluginInitMessage, &init, nullptr) != noErr)
        throw std::runtime_error("the plug-in's handler did not initialise");
    refCon_ = init.initMessage.refCon;
}

PlugInHost::~PlugInHost() {
    VisualPluginMessageInfo empty{};
    handler_(kVisualPluginCleanupMessage, &empty, refCon_);
}

void PlugInHost::StoreMoviesFolder(const std::string& path) {
    FSRef ref{};
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) != noErr)
        throw std::runtime_error("no folder reference for " + path);
    namedData_["Movies Folder"] = std::vector<UInt8>(ref.hidden, ref.hidden + sizeof ref.hidden);
}

OSStatus PlugInHost::Show(CGrafPtr port, const Rect& rect) {
    VisualPluginMessageInfo info{};
    info.showWindowMessage.port = port;
    info.showWindowMessage.drawRect = rect;
    return handler_(kVisualPluginShowWindowMessage, &info, refCon_);
}

OSStatus PlugInHost::Hide() {
    VisualPluginMessageInfo info{};
    return handler_(kVisualPluginHideWindowMessage, &info, refCon_);
}

OSStatus PlugInHost::Send(OSType message) {
    VisualPluginMessageInfo info{};
    info.renderMessage.timeStampID = ++frames_;
    return handler_(message, &info, refCon_);
}

OSStatus PlugInHost::AppProc(void* appCookie, OSType message, PlayerMessageInfo* messageInfo) {
    auto* host = static_cast<PlugInHost*>(appCookie);
    auto keyOf = [](ConstStringPtr name) { return std::string(reinterpret_cast<const char*>(name + 1), name[0]); };
    switch (message) {
    case kPlayerRegisterVisualPluginMessage:
        host->handler_ = messageInfo->u.registerVisualPluginMessage.handler;
        return noErr;
    case kPlayerSetPluginNamedDataMessage: {
        auto& set = messageInfo->u.setPluginNamedDataMessage;
        auto* bytes = static_cast<const UInt8*>(set.dataPtr);
        host->namedData_[keyOf(set.dataName)] = std::vector<UInt8>(bytes, bytes + set.dataSize);
        return noErr;
    }
    case kPlayerGetPluginNamedDataMessage: {
        auto& get = messageInfo->u.getPluginNamedDataMessage;
        auto found = host->namedData_.find(keyOf(get.dataName));
        if (found == host->namedData_.end()) return resNotFound;
        size_t n = std::min<size_t>(found->second.size(), get.dataBufferSize);
        std::memcpy(get.dataPtr, found->second.data(), n);
        get.dataSize = UInt32(found->second.size());
        return noErr;
    }
    default:
        return noErr;
    }
}

Screen::Screen(int width, int height) : width_(width), height_(height), pixels_(size_t(width) * size_t(height)) {
    Rect rect = bounds();
    port_ = NewPortOnPixels(reinterpret_cast<Ptr>(pixels_.data()), width * 4, &rect);
    if (port_ == nullptr) throw std::runtime_error("no port over the screen's pixels");
}

Screen::~Screen() { DisposePortOnPixels(port_); }

void Screen::Fill(UInt32 pixel) { std::fill(pixels_.begin(), pixels_.end(), pixel); }

} // namespace zt::bench
