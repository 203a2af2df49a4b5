// The result codes of the directory operations: a COM status reduced to the
// Win32-style code the callers test.
#pragma once

#include "platform/types.h"

#include <cstdint>

namespace corvane {

// 0 for a success status (S_OK, S_FALSE...). A failure gives its low 16
// bits, so that a status made from a Win32 error yields that error
// (0x80070005 gives 5, 0x8007052E gives 1326); a failure whose low 16 bits
// are zero is returned whole, so that it can never read as success.
platform::ErrorCode ReduceHResult(platform::HResult status);

// The low 16 bits as they stand, for the log entries that show them.
std::int32_t LowWord(platform::HResult status);

} // namespace corvane
