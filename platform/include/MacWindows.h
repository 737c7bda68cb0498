// The window toolkit calls the plug-in's settings window makes: bundle lookup,
// windows made from a nib (a GtkBuilder .ui file in the bundle's Resources/),
// control-hit events and their handlers, controls and their values, and the
// folder chooser with the descriptors it answers with.
//
// Two backends serve the same calls: GTK 3 when a display can be opened, else a
// display-less model of the window (its controls, ids and values) read from the
// same .ui file. The backend is chosen once per process (see WindowService.h).
//
// Threads: every call here runs on the host's thread (the one that runs the GLib
// main loop); control-hit handlers are called on that thread too.
// Ownership: bundles, windows and controls belong to the toolbox and live as long
// as the process; nib references are released with DisposeNibReference,
// descriptors with AEDisposeDesc, replies with NavDisposeReply.
#pragma once

#include "Files.h"
#include "MacTypes.h"

// Bundles and constant strings.
typedef struct OpaqueCFBundle* CFBundleRef;
typedef const struct OpaqueCFString* CFStringRef;

// Windows, controls and events.
typedef struct OpaqueWindowPtr* WindowRef;
typedef struct OpaqueControlRef* ControlRef;
typedef struct OpaqueIBNibRef* IBNibRef;
typedef struct OpaqueEventRef* EventRef;
typedef struct OpaqueEventTargetRef* EventTargetRef;
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;

typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                        void* inUserData);
typedef EventHandlerProcPtr EventHandlerUPP;

typedef UInt32 EventParamName;
typedef OSType EventParamType;
typedef OSType DescType;

struct EventTypeSpec {
    UInt32 eventClass;
    UInt32 eventKind;
};

struct ControlID {
    OSType signature;
    SInt32 id;
};

enum : UInt32 {
    kEventClassControl = FourCC("cntl"),
    kEventControlHit = 1,
};

enum : OSType {
    kEventParamDirectObject = FourCC("----"),
    typeControlRef = FourCC("ctrl"),
    typeNull = FourCC("null"),
    typeAEList = FourCC("list"),
    typeFSS = FourCC("fss "),
    typeFSRef = FourCC("fsrf"),
};

enum : OSStatus {
    eventParameterNotFoundErr = -9870,
    errUnknownControl = -30584,
    kIBCarbonRuntimeCantFindNibFile = -10960,
    kIBCarbonRuntimeCantFindObject = -10962,
    errWindowNotFound = -5602,
};

// Apple Event descriptors: a type and the toolbox's own storage for the data.
typedef struct OpaqueAEDataStorage* AEDataStorage;
struct AEDesc {
    DescType descriptorType;
    AEDataStorage dataHandle; // NULL in a null descriptor
};
typedef AEDesc AEDescList;

// The folder chooser's options and reply.
struct NavDialogOptions {
    UInt16 version;
    OptionBits dialogOptionFlags;
    Point location; // -1, -1: the toolkit places the dialog
    Str255 clientName;
    Str255 windowTitle;
    Str255 actionButtonLabel;
    Str255 cancelButtonLabel;
    Str255 message;
};

struct NavReplyRecord {
    UInt16 version;
    Boolean validRecord; // true when the person chose something
    Boolean replacing;
    Boolean isStationery;
    Boolean translationNeeded;
    AEDescList selection; // one item per chosen folder, each a typeFSRef
    SInt16 keyScript;
};

typedef void* NavEventUPP;        // not called: pass NULL
typedef void* NavObjectFilterUPP; // not called: pass NULL

#define CFSTR(cStr) ZTMakeConstantString("" cStr "")

extern "C" {

// A constant string that lives as long as the process; equal texts give the same
// reference. What CFSTR expands to.
CFStringRef ZTMakeConstantString(const char* text);

// The bundle whose Info.plist names this identifier: a folder registered by the
// host (newest first), else the folder of a loaded shared object (or that
// folder's parent). NULL when none is found. Not to be released.
CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID);

// Opens Resources/<inNibName>.ui of the bundle. kIBCarbonRuntimeCantFindNibFile
// when the file is missing or is not a well-formed window description.
OSStatus CreateNibReferenceWithCFBundle(CFBundleRef inBundle, CFStringRef inNibName,
                                        IBNibRef* outNibRef);
// Makes the window whose object id in the nib is inName, hidden.
// kIBCarbonRuntimeCantFindObject when the nib holds no such window.
OSStatus CreateWindowFromNib(IBNibRef inNibRef, CFStringRef inName, WindowRef* outWindow);
void DisposeNibReference(IBNibRef inNibRef);

void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);

// Events: handlers are installed on a window's target and called, newest first,
// for the event types they listed, until one returns other than eventNotHandledErr.
EventTargetRef GetWindowEventTarget(WindowRef inWindow);
EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr userRoutine);
void DisposeEventHandlerUPP(EventHandlerUPP userUPP);
OSStatus InstallEventHandler(EventTargetRef inTarget, EventHandlerUPP inHandler, UInt32 inNumTypes,
                             const EventTypeSpec* inList, void* inUserData,
                             EventHandlerRef* outRef);
OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef);
UInt32 GetEventClass(EventRef inEvent);
UInt32 GetEventKind(EventRef inEvent);
// A control hit carries its control as kEventParamDirectObject of typeControlRef.
// eventParameterNotFoundErr for another name or type, paramErr when the buffer is
// smaller than a ControlRef.
OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                           EventParamType* outActualType, UInt32 inBufferSize,
                           UInt32* outActualSize, void* outData);

// Controls: check boxes are 0 or 1, pop-up menus their 1-based item (0: none),
// push buttons 0. Setting a value never delivers a control hit.
OSStatus GetControlByID(WindowRef inWindow, const ControlID* inID, ControlRef* outControl);
OSStatus GetControlID(ControlRef inControl, ControlID* outID);
WindowRef GetControlOwner(ControlRef inControl);
SInt16 GetControlValue(ControlRef theControl);
void SetControlValue(ControlRef theControl, SInt16 newValue); // pinned to the control's range

// The folder chooser. The reply's selection lists the chosen folder as a
// typeFSRef; userCanceledErr (validRecord false) when the person cancels.
OSErr NavGetDefaultDialogOptions(NavDialogOptions* dialogOptions);
OSErr NavChooseFolder(AEDesc* defaultLocation, NavReplyRecord* reply,
                      NavDialogOptions* dialogOptions, NavEventUPP eventProc,
                      NavObjectFilterUPP filterProc, void* callBackUD);
OSErr NavDisposeReply(NavReplyRecord* reply);

// Descriptors. AECoerceDesc turns a typeFSRef (or a list holding one) into a
// typeFSS; errAECoercionFail otherwise, leaving *result a null descriptor.
OSErr AECoerceDesc(const AEDesc* theAEDesc, DescType toType, AEDesc* result);
// Copies at most maximumSize bytes of the descriptor's data.
OSErr AEGetDescData(const AEDesc* theAEDesc, void* dataPtr, Size maximumSize);
Size AEGetDescDataSize(const AEDesc* theAEDesc);
// Frees the data and leaves a null descriptor; harmless on a null descriptor.
OSErr AEDisposeDesc(AEDesc* theAEDesc);
}
