// The COM bracket of one directory operation: CoInitialize when it begins,
// CoUninitialize when it ends, on every path.
#pragma once

#include "platform/directory_service.h"

namespace corvane {

class ComBracket {
public:
    explicit ComBracket(platform::DirectoryService& directory);
    ~ComBracket();
    ComBracket(const ComBracket&) = delete;
    ComBracket& operator=(const ComBracket&) = delete;

    // Ends the bracket early; the destructor then does nothing. Only a
    // CoInitialize that succeeded is paired with CoUninitialize: after a
    // refusal (another apartment model already set on the thread) the
    // thread's COM belongs to someone else and must stay as it is.
    void End();

private:
    platform::DirectoryService& directory_;
    bool initialized_;
};

} // namespace corvane
