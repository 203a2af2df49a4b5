// GetComputerAccountOrganizationUnit: where the computer's account lives, as
// an OU path. Writes no log entries.
#include "directory/com_bracket.h"
#include "directory/computer_account.h"
#include "directory/computer_search.h"
#include "directory/directory_bind.h"
#include "directory/directory_paths.h"
#include "directory/distinguished_name.h"
#include "directory/domain_lookups.h"

namespace corvane {

bool GetComputerAccountOrganizationUnit(platform::Platform& os, SetupState& state,
                                        std::u16string_view domainDnsName,
                                        std::u16string_view computerName,
                                        OrganizationUnitText& located) {
    platform::DirectoryService& directory = os.directory;
    const ComBracket com(directory);
    const std::u16string searchPath = SearchBindPath(domainDnsName);
    if (!IsDomainMember(os)) {
        return false;
    }
    DirectoryReference search(directory);
    if (platform::hresult::Failed(
            BindWithOwnLogonFirst(directory, state, searchPath,
                                  platform::DirectoryInterfaceKind::DirectorySearch, search))) {
        return false;
    }
    if (platform::hresult::Failed(SetPagedSearch(directory, search.get()))) {
        return false;
    }
    // A row's ADsPath is the bind path, a slash and the object's DN.
    const std::size_t prefix = searchPath.size() + 1;
    const platform::HResult searched =
        ForEachComputerPath(directory, search.get(), computerName, [&](std::u16string_view path) {
            if (path.size() < prefix) {
                return; // not below the bind path: no DN to read
            }
            const std::u16string unit = ExtractNamePath(path.substr(prefix), u"OU", u'\\');
            // An OU path that does not fit is not cut into the path of some
            // other unit; the row is passed over.
            if (unit.size() < OrganizationUnitText::kCapacity) {
                located.Assign(unit);
            }
        });
    return !platform::hresult::Failed(searched);
}

} // namespace corvane
