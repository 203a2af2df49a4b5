// The directory operations over the ADSI COM interfaces.
#pragma once

#include "platform/directory_service.h"

namespace corvane::win32 {

class Win32DirectoryService final : public platform::DirectoryService {
public:
};

} // namespace corvane::win32
