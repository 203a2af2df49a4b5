// One interface obtained from the directory, released when it goes out of
// scope (or earlier, with Reset).
#pragma once

#include "platform/directory_service.h"

namespace corvane {

class DirectoryReference {
public:
    explicit DirectoryReference(platform::DirectoryService& directory) : directory_(directory) {}
    ~DirectoryReference() { Reset(); }
    DirectoryReference(const DirectoryReference&) = delete;
    DirectoryReference& operator=(const DirectoryReference&) = delete;

    // The place for a call that hands out an interface; what was held
    // before is released first.
    platform::DirectoryInterface* Receive() {
        Reset();
        return &value_;
    }
    platform::DirectoryInterface get() const { return value_; }
    explicit operator bool() const { return value_ != platform::kNoDirectoryInterface; }

    void Reset() {
        if (value_ != platform::kNoDirectoryInterface) {
            directory_.Release(value_);
            value_ = platform::kNoDirectoryInterface;
        }
    }

private:
    platform::DirectoryService& directory_;
    platform::DirectoryInterface value_ = platform::kNoDirectoryInterface;
};

} // namespace corvane
