// Names as the classic calls hand them out: UTF-16 of at most 255 units.
#pragma once

#include "Files.h"

#include <string>

namespace zt::files {

// UTF-8 bytes to at most 255 UTF-16 units; a malformed byte becomes U+FFFD.
void FillUniName(const std::string& name, HFSUniStr255& out);

} // namespace zt::files
