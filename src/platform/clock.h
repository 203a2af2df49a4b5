#pragma once

#include "platform/types.h"

namespace corvane::platform {

// The local wall clock (GetLocalTime).
class Clock {
public:
    virtual ~Clock() = default;
    virtual SystemTime GetLocalTime() = 0;
};

} // namespace corvane::platform
