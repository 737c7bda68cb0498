// Control-hit events and the handlers installed on window targets.
#include <algorithm>
#include <cstring>

#include "WindowsToolbox.h"

using namespace zt::windows;

namespace {

bool Listens(const OpaqueEventHandlerRef& handler, UInt32 eventClass, UInt32 eventKind) {
    return std::any_of(handler.types.begin(), handler.types.end(), [&](const EventTypeSpec& type) {
        return type.eventClass == eventClass && type.eventKind == eventKind;
    });
}

} // namespace

namespace zt::windows {

void DeliverControlHit(OpaqueControlRef& control) {
    OpaqueWindowPtr& window = *control.owner;
    OpaqueEventRef event{kEventClassControl, kEventControlHit, &control};
    // A handler may install or remove handlers: call a snapshot, newest first.
    std::vector<OpaqueEventHandlerRef> snapshot;
    for (auto it = window.handlers.rbegin(); it != window.handlers.rend(); ++it)
        if (Listens(**it, event.eventClass, event.eventKind)) snapshot.push_back(**it);
    for (const OpaqueEventHandlerRef& handler : snapshot) {
        if (handler.proc(nullptr, &event, handler.userData) != eventNotHandledErr) break;
    }
}

} // namespace zt::windows

EventTargetRef GetWindowEventTarget(WindowRef inWindow) {
    return inWindow == nullptr ? nullptr : &inWindow->target;
}

EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr userRoutine) {
    return userRoutine;
}

void DisposeEventHandlerUPP(EventHandlerUPP) {}

OSStatus InstallEventHandler(EventTargetRef inTarget, EventHandlerUPP inHandler, UInt32 inNumTypes,
                             const EventTypeSpec* inList, void* inUserData,
                             EventHandlerRef* outRef) {
    if (outRef != nullptr) *outRef = nullptr;
    if (inTarget == nullptr || inTarget->window == nullptr || inHandler == nullptr ||
        (inNumTypes > 0 && inList == nullptr))
        return paramErr;
    try {
        auto handler = std::make_unique<OpaqueEventHandlerRef>();
        handler->window = inTarget->window;
        handler->proc = inHandler;
        handler->types.assign(inList, inList + inNumTypes);
        handler->userData = inUserData;
        if (outRef != nullptr) *outRef = handler.get();
        inTarget->window->handlers.push_back(std::move(handler));
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef) {
    // The reference may be stale (removed before): look it up, never read through it.
    for (const auto& window : Toolbox().windows) {
        auto& handlers = window->handlers;
        auto found = std::find_if(handlers.begin(), handlers.end(), [&](const auto& handler) {
            return handler.get() == inHandlerRef;
        });
        if (found != handlers.end()) {
            handlers.erase(found);
            return noErr;
        }
    }
    return paramErr;
}

UInt32 GetEventClass(EventRef inEvent) {
    return inEvent == nullptr ? 0 : inEvent->eventClass;
}

UInt32 GetEventKind(EventRef inEvent) {
    return inEvent == nullptr ? 0 : inEvent->eventKind;
}

OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                           EventParamType* outActualType, UInt32 inBufferSize,
                           UInt32* outActualSize, void* outData) {
    if (inEvent == nullptr) return paramErr;
    if (inName != kEventParamDirectObject || inDesiredType != typeControlRef ||
        inEvent->control == nullptr)
        return eventParameterNotFoundErr;
    if (outActualType != nullptr) *outActualType = typeControlRef;
    if (outActualSize != nullptr) *outActualSize = sizeof(ControlRef);
    if (outData == nullptr) return noErr;
    if (inBufferSize < sizeof(ControlRef)) return paramErr;
    std::memcpy(outData, &inEvent->control, sizeof(ControlRef));
    return noErr;
}
