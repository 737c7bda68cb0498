// The settings window: made from the bundle's nib at the first configure
// message and only ever hidden afterwards. Control hits edit a working copy of
// the criteria; OK applies it (reloading the library when a folder was chosen),
// Cancel drops it.
//
// The window statics below and the handler's own statics are touched only on
// the host's thread (configure messages and the host's event loop). The shared
// criteria are written under gContrlMoviePlayListLock, as the control thread
// reads them.
#include "SettingsDialog.h"

#include "MovieLibrary.h"
#include "PlayList.h"

static const ControlID kGenreSettingControlID = {FourCC("cbox"), 3};
static const ControlID kArtistSettingControlID = {FourCC("cbox"), 4};
static const ControlID kAlbumSettingControlID = {FourCC("cbox"), 5};
static const ControlID kTitleSettingControlID = {FourCC("cbox"), 6};
static const ControlID kSearchSettingControlID = {FourCC("pmnu"), 7};
static const ControlID kPlaySettingControlID = {FourCC("pmnu"), 8};
enum {
    kChooseFolderControlNumber = 9,
    kOKControlNumber = 10,
    kCancelControlNumber = 11,
};

// The window and its six edited controls; NULL until the window is made.
static WindowRef settingsDialog = NULL;
static ControlRef genre = NULL;
static ControlRef artist = NULL;
static ControlRef album = NULL;
static ControlRef title = NULL;
static ControlRef search = NULL;
static ControlRef play = NULL;
static const EventTypeSpec controlEvent = {kEventClassControl, kEventControlHit};

// The installed handler and the instance record it was installed with: a new
// instance (after 'clr ' and 'init') gets the handler installed again for it.
static EventHandlerRef settingsHandlerRef = NULL;
static VisualPluginData* settingsHandlerInstance = NULL;

static OSStatus MakeSettingsDialog(void) {
    CFBundleRef bundle = CFBundleGetBundleWithIdentifier(CFSTR("Zoetropica"));
    if (bundle == NULL) return fnfErr;
    IBNibRef nibRef = NULL;
    OSStatus status = CreateNibReferenceWithCFBundle(bundle, CFSTR("SettingsDialog"), &nibRef);
    if (status != noErr) return status;
    WindowRef window = NULL;
    status = CreateWindowFromNib(nibRef, CFSTR("PluginSettings"), &window);
    DisposeNibReference(nibRef);
    if (status != noErr) return status;

    settingsDialog = window;
    GetControlByID(settingsDialog, &kGenreSettingControlID, &genre);
    GetControlByID(settingsDialog, &kArtistSettingControlID, &artist);
    GetControlByID(settingsDialog, &kAlbumSettingControlID, &album);
    GetControlByID(settingsDialog, &kTitleSettingControlID, &title);
    GetControlByID(settingsDialog, &kSearchSettingControlID, &search);
    GetControlByID(settingsDialog, &kPlaySettingControlID, &play);
    return noErr;
}

static OSStatus BindSettingsHandler(VisualPluginData* visualPluginData) {
    if (settingsHandlerRef != NULL && settingsHandlerInstance == visualPluginData) return noErr;
    if (settingsHandlerRef != NULL) RemoveEventHandler(settingsHandlerRef);
    settingsHandlerRef = NULL;
    settingsHandlerInstance = NULL;
    OSStatus status = InstallEventHandler(GetWindowEventTarget(settingsDialog),
                                          NewEventHandlerUPP(settingsControlHandler), 1,
                                          &controlEvent, visualPluginData, &settingsHandlerRef);
    if (status == noErr) settingsHandlerInstance = visualPluginData;
    return status;
}

OSStatus OpenSettingsDialog(VisualPluginData* visualPluginData) {
    if (settingsDialog == NULL) {
        OSStatus status = MakeSettingsDialog();
        if (status != noErr) return status;
    }
    OSStatus status = BindSettingsHandler(visualPluginData);
    if (status != noErr) return status;

    SetControlValue(genre, gBuildPlayMovListParamToCntrl.isEnableGenre);
    SetControlValue(artist, gBuildPlayMovListParamToCntrl.isEnableArtist);
    SetControlValue(album, gBuildPlayMovListParamToCntrl.isEnableAlbum);
    SetControlValue(title, gBuildPlayMovListParamToCntrl.isEnableTitle);
    SetControlValue(search, SInt16(gBuildPlayMovListParamToCntrl.searchMethod));
    SetControlValue(play, SInt16(gBuildPlayMovListParamToCntrl.playMode));
    ShowWindow(settingsDialog);
    return noErr;
}

void ForgetSettingsDialogInstance(VisualPluginData* visualPluginData) {
    if (settingsHandlerRef == NULL || settingsHandlerInstance != visualPluginData) return;
    RemoveEventHandler(settingsHandlerRef);
    settingsHandlerRef = NULL;
    settingsHandlerInstance = NULL;
    HideWindow(settingsDialog);
}

extern "C" ZT_EXPORT OSStatus settingsControlHandler(EventHandlerCallRef inRef, EventRef inEvent,
                                                     void* userData) {
    static Boolean didInit = false;        // an edit is open
    static Boolean isReLoadMovies = false; // a folder was chosen in the open edit
    static BuildPlayMovieListParam tmpBuildPlayMovListParam;
    static FSSpec aSpec; // the last folder chosen

    WindowRef wind = NULL;
    ControlRef control = NULL;
    ControlID controlID = {0, 0}; // an event without a control acts on nothing
    NavReplyRecord theReply;
    NavDialogOptions dialogOptions;
    AEDesc resultDesc = {typeNull, NULL}; // null, so disposing after a failed coercion is harmless
    OSErr theErr = noErr;
    VisualPluginData* visualPluginData = static_cast<VisualPluginData*>(userData);
    (void)inRef;

    NavGetDefaultDialogOptions(&dialogOptions);
    if (!didInit) {
        CopyBuildPlayMovListParam(&gBuildPlayMovListParamToCntrl, &tmpBuildPlayMovListParam);
        isReLoadMovies = false;
        didInit = true;
    }
    GetEventParameter(inEvent, kEventParamDirectObject, typeControlRef, NULL, sizeof(ControlRef),
                      NULL, &control);
    wind = GetControlOwner(control);
    GetControlID(control, &controlID);

    switch (controlID.id) {
    case 3:
        tmpBuildPlayMovListParam.isEnableGenre = Boolean(GetControlValue(control));
        break;
    case 4:
        tmpBuildPlayMovListParam.isEnableArtist = Boolean(GetControlValue(control));
        break;
    case 5:
        tmpBuildPlayMovListParam.isEnableAlbum = Boolean(GetControlValue(control));
        break;
    case 6:
        tmpBuildPlayMovListParam.isEnableTitle = Boolean(GetControlValue(control));
        break;
    case 7:
        tmpBuildPlayMovListParam.searchMethod = UInt32(GetControlValue(control));
        break;
    case 8:
        tmpBuildPlayMovListParam.playMode = UInt32(GetControlValue(control));
        break;
    case kChooseFolderControlNumber:
        theErr = NavChooseFolder(NULL, &theReply, &dialogOptions, NULL, NULL, NULL);
        if (!theReply.validRecord || theErr != noErr) break;
        theErr = AECoerceDesc(&theReply.selection, typeFSS, &resultDesc);
        if (theErr == noErr) {
            // Read into a local record: a failed read leaves the earlier choice whole.
            FSSpec chosen;
            theErr = AEGetDescData(&resultDesc, &chosen, sizeof(FSSpec));
            if (theErr == noErr) {
                aSpec = chosen;
                isReLoadMovies = true;
            }
        }
        AEDisposeDesc(&resultDesc);
        NavDisposeReply(&theReply);
        break;
    case kOKControlNumber:
        HideWindow(wind);
        if (visualPluginData != NULL && visualPluginData->offscreen != NULL) {
            if (isReLoadMovies) {
                FSpMakeFSRef(&aSpec, &visualPluginData->movieFolderRef);
                CleanUpZoetropica(visualPluginData, &visualPluginData->movieFolderRef);
                InitZoetropica(visualPluginData, &visualPluginData->movieFolderRef,
                               &tmpBuildPlayMovListParam);
            } else {
                pthread_mutex_lock(&gContrlMoviePlayListLock);
                CopyBuildPlayMovListParam(&tmpBuildPlayMovListParam,
                                          &gBuildPlayMovListParamToCntrl);
                pthread_mutex_unlock(&gContrlMoviePlayListLock);
                SendStartToCntrlPlayMovieList(&visualPluginData->trackInfo);
            }
        }
        isReLoadMovies = false;
        didInit = false;
        break;
    case kCancelControlNumber:
        HideWindow(wind);
        didInit = false;
        break;
    default:
        break;
    }
    return noErr;
}
