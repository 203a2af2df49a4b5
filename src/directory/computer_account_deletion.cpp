// DeleteComputerAccount: removes a computer account through the WinNT
// provider.
#include "directory/com_bracket.h"
#include "directory/computer_account.h"
#include "directory/directory_bind.h"
#include "directory/directory_paths.h"
#include "directory/directory_status.h"

namespace corvane {

namespace {

constexpr char kOperation[] = "DeleteComputerAccount";
constexpr char kComputerClass[] = "computer";

} // namespace

platform::ErrorCode DeleteComputerAccount(platform::Platform& os, SetupState& state,
                                          std::u16string_view domainName,
                                          std::u16string_view computerName) {
    platform::DirectoryService& directory = os.directory;
    DiagnosticLog& log = state.Log;
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
    const platform::HResult deletion = directory.Delete(domain.get(), kComputerClass, name.c_str());
    log.Log(LogLevel::Info, LowWord(deletion), u"%S: Delete", kOperation);
    return ReduceHResult(deletion);
}

} // namespace corvane
