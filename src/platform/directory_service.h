// The directory of the domain through Active Directory Service Interfaces:
// binding, searching, moving, creating and deleting objects.
#pragma once

#include "platform/types.h"

namespace corvane::platform {

class DirectoryService {
public:
    virtual ~DirectoryService() = default;
};

} // namespace corvane::platform
