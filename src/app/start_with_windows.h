// Start at log-on: one value under the machine-wide Run key.
#pragma once

#include "platform/platform.h"

namespace corvane {

// True exactly when the value exists, whatever its type or data.
bool IsStartWithWindowsEnabled(platform::Platform& os);

// Writes the value with the present executable's path, quoted.
void SetStartWithWindows(platform::Platform& os);

} // namespace corvane
