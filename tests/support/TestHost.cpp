#include "TestHost.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <stdexcept>

namespace zt::test {

TestHost::TestHost(const std::string& bundlePath) {
    library_ = dlopen(bundlePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) throw std::runtime_error(std::string("dlopen: ") + dlerror());
    entry_ = reinterpret_cast<decltype(entry_)>(dlsym(library_, "iTunesPluginMainMachO"));
    if (entry_ == nullptr) throw std::runtime_error("no iTunesPluginMainMachO in the bundle");
}

TestHost::~TestHost() {
    if (refCon_ != nullptr) SendWithRefCon(kVisualPluginCleanupMessage, nullptr, refCon_);
    // The bundle stays loaded: its statics (settings window, locks) live as long
    // as the process, as they would in a real host.
}

OSStatus TestHost::CallEntry(OSType message) {
    PluginMessageInfo info{};
    info.initMessage.majorVersion = kITPluginMajorMessageVersion;
    info.initMessage.minorVersion = kITPluginMinorMessageVersion;
    info.initMessage.appCookie = this;
    info.initMessage.appProc = &TestHost::AppProc;
    return entry_(message, &info, nullptr);
}

OSStatus TestHost::InitVisual() {
    VisualPluginMessageInfo info{};
    info.initMessage.messageMajorVersion = kITPluginMajorMessageVersion;
    info.initMessage.messageMinorVersion = kITPluginMinorMessageVersion;
    info.initMessage.appCookie = this;
    info.initMessage.appProc = &TestHost::AppProc;
    OSStatus status = handler()(kVisualPluginInitMessage, &info, nullptr);
    refCon_ = info.initMessage.refCon;
    return status;
}

OSStatus TestHost::Send(OSType message, VisualPluginMessageInfo* info) {
    OSStatus status = SendWithRefCon(message, info, refCon_);
    if (message == kVisualPluginCleanupMessage) refCon_ = nullptr;
    return status;
}

OSStatus TestHost::SendWithRefCon(OSType message, VisualPluginMessageInfo* info, void* refCon) {
    VisualPluginMessageInfo empty{};
    return handler()(message, info != nullptr ? info : &empty, refCon);
}

int TestHost::CountRequests(OSType message) const {
    return int(std::count_if(requests.begin(), requests.end(),
                             [&](const RecordedRequest& r) { return r.message == message; }));
}

OSStatus TestHost::AppProc(void* appCookie, OSType message, PlayerMessageInfo* messageInfo) {
    return static_cast<TestHost*>(appCookie)->Answer(message, messageInfo);
}

static std::string KeyOf(ConstStringPtr name) {
    return std::string(reinterpret_cast<const char*>(name + 1), name[0]);
}

OSStatus TestHost::Answer(OSType message, PlayerMessageInfo* messageInfo) {
    RecordedRequest request{message, {}};
    request.bytes.resize(sizeof(PlayerMessageInfo));
    std::memcpy(request.bytes.data(), messageInfo, sizeof(PlayerMessageInfo));
    requests.push_back(std::move(request));

    switch (message) {
    case kPlayerRegisterVisualPluginMessage:
        registration_ = messageInfo->u.registerVisualPluginMessage;
        return registerStatus;
    case kPlayerGetPluginFileSpecMessage:
        *messageInfo->u.getPluginFileSpecMessage.fileSpec = pluginFileSpec;
        return fileSpecStatus;
    case kPlayerSetPluginNamedDataMessage: {
        auto& set = messageInfo->u.setPluginNamedDataMessage;
        auto* bytes = static_cast<const uint8_t*>(set.dataPtr);
        namedData[KeyOf(set.dataName)] = std::vector<uint8_t>(bytes, bytes + set.dataSize);
        return noErr;
    }
    case kPlayerGetPluginNamedDataMessage: {
        auto& get = messageInfo->u.getPluginNamedDataMessage;
        auto found = namedData.find(KeyOf(get.dataName));
        if (found == namedData.end()) {
            get.dataSize = 0;
            return resNotFound; // the buffer stays untouched
        }
        size_t n = std::min<size_t>(found->second.size(), get.dataBufferSize);
        std::memcpy(get.dataPtr, found->second.data(), n);
        get.dataSize = UInt32(found->second.size());
        return noErr;
    }
    default:
        return noErr;
    }
}

} // namespace zt::test
