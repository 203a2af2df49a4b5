// The paged search for the computer objects of one name, which both the
// locate and the move of a computer account run.
#pragma once

#include "platform/directory_service.h"

#include <functional>
#include <string_view>

namespace corvane {

inline constexpr std::uint32_t kDirectoryPageSize = 100;

// Sets the one search preference: pages of 100 rows.
platform::HResult SetPagedSearch(platform::DirectoryService& directory,
                                 platform::DirectoryInterface search);

// Searches for the computer objects named `computerName` and calls `row`
// with the ADsPath of each row whose path can be read, in the order the
// directory returns them. The walk ends at the last row or at the first
// failing GetNextRow. The failure of ExecuteSearch, else S_OK.
platform::HResult ForEachComputerPath(platform::DirectoryService& directory,
                                      platform::DirectoryInterface search,
                                      std::u16string_view computerName,
                                      const std::function<void(std::u16string_view)>& row);

} // namespace corvane
