// A gate in front of the movie service's text search, for tests that must hold
// a build in progress. The test executable's own TextMediaFindNextText takes the
// place of the platform's (it is linked into the executable, so the plug-in code
// linked there calls it) and forwards to the real one once the gate is open.
// While closed, a search waits at cancellation points, so a waiting build can
// still be cancelled.
#pragma once

namespace zt::test {

void CloseTextSearchGate();
void OpenTextSearchGate();
// Searches that have reached the gate since it was last closed.
int SearchesWaitingAtGate();

} // namespace zt::test
