// Owns a registry key that OpenKey opened and closes it with CloseKey when
// it goes out of scope, on every path; a key that failed to open is never
// closed.
#pragma once

#include "platform/registry.h"

namespace corvane::platform {

class OpenedRegistryKey {
public:
    explicit OpenedRegistryKey(Registry& registry) : registry_(registry) {}
    OpenedRegistryKey(const OpenedRegistryKey&) = delete;
    OpenedRegistryKey& operator=(const OpenedRegistryKey&) = delete;
    ~OpenedRegistryKey() { Close(); }

    // RegOpenKeyW on the key; a key held before is closed first.
    ErrorCode Open(RegistryRoot root, const char16_t* subKey) {
        Close();
        const ErrorCode result = registry_.OpenKey(root, subKey, &key_);
        open_ = result == error::kSuccess;
        return result;
    }
    RegistryKey get() const { return key_; }

    void Close() {
        if (open_) {
            registry_.CloseKey(key_);
            open_ = false;
        }
        key_ = 0;
    }

private:
    Registry& registry_;
    RegistryKey key_ = 0;
    bool open_ = false;
};

} // namespace corvane::platform
