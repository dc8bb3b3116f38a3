// Seeing and deleting files in the 64-bit system folders from a 32-bit process.
#pragma once

#include <string>

#include "platform/platform.h"

namespace kv {

// Whether the program runs as a 32-bit process on 64-bit Windows.
bool OSisx64(platform::Platform& platform);

}  // namespace kv
