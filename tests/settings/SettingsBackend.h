// The window backend a run of the settings tests asked for (--backend=model or
// --backend=gtk), and whether this process has it.
#pragma once

#include "WindowService.h"

namespace zt::test {

zt::windows::Backend RequestedBackend();
// False when GTK was asked for but no display could be opened.
bool HaveRequestedBackend();

} // namespace zt::test
