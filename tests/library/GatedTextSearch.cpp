#include "GatedTextSearch.h"

#include <atomic>
#include <dlfcn.h>
#include <pthread.h>
#include <unistd.h>

#include "Movies.h"

namespace zt::test {

static std::atomic<bool> gateOpen{true};
static std::atomic<int> waiting{0};

void CloseTextSearchGate() {
    waiting = 0;
    gateOpen = false;
}
void OpenTextSearchGate() { gateOpen = true; }
int SearchesWaitingAtGate() { return waiting; }

} // namespace zt::test

extern "C" ComponentResult TextMediaFindNextText(MediaHandler mh, Ptr text, SInt32 size,
                                                 SInt16 findFlags, TimeValue startTime,
                                                 TimeValue* foundTime, TimeValue* foundDuration,
                                                 SInt32* offset) {
    using Real = ComponentResult (*)(MediaHandler, Ptr, SInt32, SInt16, TimeValue, TimeValue*,
                                     TimeValue*, SInt32*);
    static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "TextMediaFindNextText"));
    if (!zt::test::gateOpen) {
        zt::test::waiting++;
        while (!zt::test::gateOpen) {
            pthread_testcancel();
            usleep(200);
        }
    }
    return real(mh, text, size, findFlags, startTime, foundTime, foundDuration, offset);
}
