// Owns a buffer that a network-management call returned and releases it
// with NetApiBufferFree on every path.
#pragma once

#include "platform/network_management.h"

namespace corvane::platform {

template <typename T>
class NetBuffer {
public:
    explicit NetBuffer(NetworkManagement& network) : network_(network) {}
    NetBuffer(const NetBuffer&) = delete;
    NetBuffer& operator=(const NetBuffer&) = delete;
    ~NetBuffer() { Reset(); }

    // The out-parameter to hand to the call.
    T** Receive() {
        Reset();
        return &buffer_;
    }
    T* get() const { return buffer_; }
    explicit operator bool() const { return buffer_ != nullptr; }

    void Reset() {
        if (buffer_ != nullptr) {
            network_.NetApiBufferFree(buffer_);
            buffer_ = nullptr;
        }
    }

private:
    NetworkManagement& network_;
    T* buffer_ = nullptr;
};

} // namespace corvane::platform
