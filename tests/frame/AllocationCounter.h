// Counts the heap allocations made on the calling thread between Start and
// Stop. Other threads (a movie's decoder, the play-list builder) are never
// counted: the switch and the tally are thread-local.
//
// Plain builds count every malloc, calloc, realloc and aligned allocation of
// the process (the C library's entry points are replaced in the test program),
// so FFmpeg, the font library and the plug-in's own calls are all seen.
// Sanitizer builds own malloc themselves; there only operator new is counted.
#pragma once

#include <cstddef>
#include <string>

namespace zt::test {

void StartCountingAllocations();
// The allocations counted since Start; counting stops.
long StopCountingAllocations();
// The sizes of the first few allocations counted, for a failure message.
std::string CountedAllocationSizes();
// True when malloc itself is counted, false when only operator new is.
bool CountsEveryMalloc();

} // namespace zt::test
