#include "directory/directory_status.h"

namespace corvane {

platform::ErrorCode ReduceHResult(platform::HResult status) {
    if (status >= 0) {
        return platform::error::kSuccess;
    }
    const auto bits = static_cast<platform::ErrorCode>(status);
    const platform::ErrorCode low = bits & 0xFFFFu;
    return low != 0 ? low : bits;
}

std::int32_t LowWord(platform::HResult status) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(status) & 0xFFFFu);
}

} // namespace corvane
