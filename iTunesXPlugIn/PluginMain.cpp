// The bundle's entry point, the registration of the visual plug-in, and the
// visual message handler.
//
// Init and clean-up rules: the host calls iTunesPluginMainMachO with 'init' (the
// plug-in registers once per 'init') and later 'clr '. It then sends the
// registered handler its own 'init', which creates the instance record; every
// later message carries that record as refCon until the handler's 'clr ' frees
// it. Between them the visualizer may be shown and hidden any number of times.
// Everything here runs on the host's thread, one message at a time.
#include "iTunesAPI.h"
#include "iTunesVisualAPI.h"

#include "MacMemory.h"
#include "MovieLibrary.h"
#include "MoviePlayback.h"
#include "PlayList.h"
#include "SettingsDialog.h"
#include "VisualCanvas.h"
#include "VisualPluginData.h"

static const OptionBits kZoetropicaOptions = kVisualWantsIdleMessages | kVisualWantsConfigure;
static const OSType kZoetropicaCreator = FourCC("hook");
static const SInt16 kMinVisualSize = 64;
static const SInt16 kMaxVisualSize = 32767;

// Zero-fills length bytes, one byte at a time.
static void MemClear(void* dest, SInt32 length) {
    auto* p = static_cast<UInt8*>(dest);
    for (SInt32 i = 0; i < length; ++i) p[i] = 0;
}

// The track and stream copies of 'vply' and 'ctrk': a NULL pointer empties the copy.
static void CopyTrackAndStream(VisualPluginData* visualPluginData, ITTrackInfo* trackInfo,
                               ITStreamInfo* streamInfo) {
    if (trackInfo != nullptr) {
        BlockMoveData(trackInfo, &visualPluginData->trackInfo, sizeof(ITTrackInfo));
        SendStartToCntrlPlayMovieList(&visualPluginData->trackInfo);
    } else {
        MemClear(&visualPluginData->trackInfo, sizeof(ITTrackInfo));
    }
    if (streamInfo != nullptr) {
        BlockMoveData(streamInfo, &visualPluginData->streamInfo, sizeof(ITStreamInfo));
    } else {
        MemClear(&visualPluginData->streamInfo, sizeof(ITStreamInfo));
    }
}

static void Render(VisualPluginData* visualPluginData, Boolean onlyUpdate) {
    RenderVisualPort(visualPluginData, visualPluginData->destPort, &visualPluginData->destRect,
                     onlyUpdate);
}

static OSStatus VisualPluginHandler(OSType message, VisualPluginMessageInfo* messageInfo,
                                    void* refCon) {
    OSStatus status = noErr;
    auto* visualPluginData = static_cast<VisualPluginData*>(refCon);

    if (message == kVisualPluginInitMessage) {
        visualPluginData = reinterpret_cast<VisualPluginData*>(NewPtrClear(sizeof(VisualPluginData)));
        if (visualPluginData == nullptr) return memFullErr;
        visualPluginData->appCookie = messageInfo->initMessage.appCookie;
        visualPluginData->appProc = messageInfo->initMessage.appProc;
        status = PlayerGetPluginFileSpec(visualPluginData->appCookie, visualPluginData->appProc,
                                         &visualPluginData->pluginFileSpec);
        messageInfo->initMessage.refCon = visualPluginData;
        PreInitZoetropica();
        return status;
    }
    if (message == kVisualPluginCleanupMessage) {
        if (visualPluginData != nullptr) {
            // The settings window outlives the record: a click after this must
            // not reach it.
            ForgetSettingsDialogInstance(visualPluginData);
            DisposePtr(reinterpret_cast<Ptr>(visualPluginData));
        }
        return noErr;
    }
    // Every other message needs the record 'init' made; without one, change nothing.
    if (visualPluginData == nullptr) return unimpErr;

    switch (message) {
    case kVisualPluginShowWindowMessage:
        visualPluginData->destOptions = messageInfo->showWindowMessage.options;
        status = ChangeVisualPort(visualPluginData, messageInfo->showWindowMessage.port,
                                  &messageInfo->showWindowMessage.drawRect);
        InitZoetropica(visualPluginData, &visualPluginData->movieFolderRef,
                       &gBuildPlayMovListParamToCntrl);
        if (status == noErr) Render(visualPluginData, true);
        break;
    case kVisualPluginHideWindowMessage:
        CleanUpZoetropica(visualPluginData, &visualPluginData->movieFolderRef);
        ChangeVisualPort(visualPluginData, nullptr, nullptr);
        MemClear(&visualPluginData->trackInfo, sizeof(ITTrackInfo));
        MemClear(&visualPluginData->streamInfo, sizeof(ITStreamInfo));
        break;
    case kVisualPluginSetWindowMessage:
        visualPluginData->destOptions = messageInfo->setWindowMessage.options;
        status = ChangeVisualPort(visualPluginData, messageInfo->setWindowMessage.port,
                                  &messageInfo->setWindowMessage.drawRect);
        ResizePlayMovieList(visualPluginData->destPort, &visualPluginData->destRect);
        break;
    case kVisualPluginRenderMessage:
        visualPluginData->renderTimeStampID = messageInfo->renderMessage.timeStampID;
        Render(visualPluginData, false);
        break;
    case kVisualPluginUpdateMessage:
        Render(visualPluginData, true);
        break;
    case kVisualPluginIdleMessage:
        if (!visualPluginData->playing) Render(visualPluginData, false);
        break;
    case kVisualPluginPlayMessage:
        CopyTrackAndStream(visualPluginData, messageInfo->playMessage.trackInfo,
                           messageInfo->playMessage.streamInfo);
        visualPluginData->playing = true;
        break;
    case kVisualPluginChangeTrackMessage:
        CopyTrackAndStream(visualPluginData, messageInfo->changeTrackMessage.trackInfo,
                           messageInfo->changeTrackMessage.streamInfo);
        break;
    case kVisualPluginStopMessage:
        visualPluginData->playing = false;
        Render(visualPluginData, true);
        SendStopToCntrlPlayMovieList();
        break;
    case kVisualPluginPauseMessage:
        visualPluginData->playing = false;
        Render(visualPluginData, true);
        break;
    case kVisualPluginUnpauseMessage:
        visualPluginData->playing = true;
        break;
    case kVisualPluginConfigureMessage:
        status = OpenSettingsDialog(visualPluginData);
        break;
    case kVisualPluginSetPositionMessage:
    case kVisualPluginEnableMessage:
    case kVisualPluginDisableMessage:
        break;
    default: // 'vevt' and every code not handled
        status = unimpErr;
        break;
    }
    return status;
}

static OSStatus RegisterVisualPlugin(PluginMessageInfo* messageInfo) {
    Str255 pluginName = {10, 'Z', 'o', 'e', 't', 'r', 'o', 'p', 'i', 'c', 'a'};
    PlayerMessageInfo playerMessageInfo;
    auto& request = playerMessageInfo.u.registerVisualPluginMessage;

    // The whole record, not only its member: on a 64-bit machine the member is
    // preceded by alignment padding, which must not carry stack bytes to the host.
    MemClear(&playerMessageInfo, sizeof(playerMessageInfo));
    BlockMoveData(pluginName, request.name, pluginName[0] + 1);
    SetNumVersion(&request.pluginVersion, 1, 0, 0x80, 0);
    request.options = kZoetropicaOptions;
    request.handler = VisualPluginHandler;
    request.registerRefCon = nullptr;
    request.creator = kZoetropicaCreator;
    request.timeBetweenDataInMS = 0xFFFFFFFF;
    request.numWaveformChannels = 2;
    request.numSpectrumChannels = 2;
    request.minWidth = kMinVisualSize;
    request.minHeight = kMinVisualSize;
    request.maxWidth = kMaxVisualSize;
    request.maxHeight = kMaxVisualSize;
    request.minFullScreenBitDepth = 0;
    request.maxFullScreenBitDepth = 0;
    request.windowAlignmentInBytes = 0;

    return PlayerRegisterVisualPlugin(messageInfo->initMessage.appCookie,
                                      messageInfo->initMessage.appProc, &playerMessageInfo);
}

extern "C" ZT_EXPORT OSStatus iTunesPluginMainMachO(OSType message, PluginMessageInfo* messageInfo,
                                                   void* refCon) {
    (void)refCon;
    switch (message) {
    case kPluginInitMessage:
        return RegisterVisualPlugin(messageInfo);
    case kPluginCleanupMessage:
        return noErr;
    default:
        return unimpErr;
    }
}
