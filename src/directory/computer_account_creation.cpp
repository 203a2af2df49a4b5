// CreateComputerAccount: a new computer account through the WinNT provider,
// then moved into its unit when an OU path is given.
#include "directory/com_bracket.h"
#include "directory/computer_account.h"
#include "directory/directory_bind.h"
#include "directory/directory_paths.h"
#include "directory/directory_status.h"

namespace corvane {

namespace {

constexpr char kOperation[] = "CreateComputerAccount";
constexpr char kComputerClass[] = "computer";

} // namespace

platform::ErrorCode CreateComputerAccount(platform::Platform& os, SetupState& state,
                                          std::u16string_view domainName,
                                          std::u16string_view computerName,
                                          std::optional<std::u16string_view> organizationUnitPath) {
    platform::DirectoryService& directory = os.directory;
    DiagnosticLog& log = state.Log;
    platform::ErrorCode result = platform::error::kSuccess;
    {
        const ComBracket com(directory);
        const std::u16string bindPath = AccountDomainBindPath(domainName);
        log.Log(LogLevel::Info, 0, u"%S: Path: %s", kOperation, bindPath);
        DirectoryReference domain(directory);
        const platform::HResult bound = BindWithStoredCredentials(
            directory, state, bindPath, platform::DirectoryInterfaceKind::Container, domain);
        log.Log(LogLevel::Info, bound, u"%S: ADsOpenObject(IADsContainer) = %p", kOperation,
                domain.get());
        if (platform::hresult::Failed(bound)) {
            return ReduceHResult(bound);
        }

        const std::u16string name(computerName);
        DirectoryReference created(directory);
        platform::HResult creation =
            directory.Create(domain.get(), kComputerClass, name.c_str(), created.Receive());
        if (!platform::hresult::Failed(creation) && !created) {
            creation = platform::hresult::kPointer;
        }
        log.Log(LogLevel::Info, LowWord(creation), u"%S: Create", kOperation);
        if (platform::hresult::Failed(creation)) {
            result = ReduceHResult(creation);
        } else {
            // The WinNT provider writes the account only on SetInfo: when
            // the commit cannot be reached or is refused, no account exists,
            // and that is what the result says.
            DirectoryReference ads(directory);
            platform::HResult queried = directory.QueryInterface(
                created.get(), platform::DirectoryInterfaceKind::Ads, ads.Receive());
            if (!platform::hresult::Failed(queried) && !ads) {
                queried = platform::hresult::kPointer;
            }
            log.Log(LogLevel::Info, LowWord(queried), u"%S: QueryInterface", kOperation);
            if (platform::hresult::Failed(queried)) {
                result = ReduceHResult(queried);
            } else {
                result = ReduceHResult(directory.SetInfo(ads.get()));
            }
        }
    }
    // The move brackets COM on its own, after this operation's bracket.
    if (result == platform::error::kSuccess && organizationUnitPath.has_value() &&
        !organizationUnitPath->empty()) {
        result = MoveComputerAccountToOrganizationUnit(os, state, domainName, computerName,
                                                       *organizationUnitPath);
    }
    return result;
}

} // namespace corvane
