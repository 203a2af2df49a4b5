#include "directory/computer_search.h"

#include "directory/search_filter.h"

#include <string>

namespace corvane {

namespace {

constexpr char16_t kAdsPath[] = u"ADsPath";

} // namespace

platform::HResult SetPagedSearch(platform::DirectoryService& directory,
                                 platform::DirectoryInterface search) {
    const platform::DirectorySearchPreference preference{
        platform::kAdsSearchPrefPageSize, platform::kAdsTypeInteger, kDirectoryPageSize};
    return directory.SetSearchPreference(search, &preference, 1);
}

platform::HResult ForEachComputerPath(platform::DirectoryService& directory,
                                      platform::DirectoryInterface search,
                                      std::u16string_view computerName,
                                      const std::function<void(std::u16string_view)>& row) {
    const std::u16string filter = ComputerSearchFilter(computerName);
    const char16_t* const attributes[] = {kAdsPath};
    platform::DirectorySearchHandle handle = platform::kNoDirectorySearch;
    const platform::HResult executed =
        directory.ExecuteSearch(search, filter.c_str(), attributes, 1, &handle);
    if (platform::hresult::Failed(executed)) {
        return executed;
    }
    while (directory.GetNextRow(search, handle) == platform::hresult::kOk) {
        platform::DirectorySearchColumn column;
        if (platform::hresult::Failed(directory.GetColumn(search, handle, kAdsPath, &column))) {
            continue;
        }
        if (column.text != nullptr) {
            row(column.text);
        }
        directory.FreeColumn(search, &column);
    }
    directory.CloseSearchHandle(search, handle);
    return platform::hresult::kOk;
}

} // namespace corvane
