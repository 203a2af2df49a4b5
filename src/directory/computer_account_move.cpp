// MoveComputerAccountToOrganizationUnit: finds the computer's object by its
// name and moves it into the chosen unit (or the default computer
// container).
#include "directory/com_bracket.h"
#include "directory/computer_account.h"
#include "directory/computer_search.h"
#include "directory/directory_bind.h"
#include "directory/directory_paths.h"
#include "directory/directory_status.h"

namespace corvane {

namespace {

constexpr char kOperation[] = "MoveComputerAccountToOrganizationUnit";

// The ADsPath of the object to move: 128 characters and the terminator.
using SourcePathText = FixedText<129>;

LogLevel LevelOf(platform::HResult status) {
    return status == 0 ? LogLevel::Info : LogLevel::Error;
}

} // namespace

platform::ErrorCode MoveComputerAccountToOrganizationUnit(
    platform::Platform& os, SetupState& state, std::u16string_view domainDnsName,
    std::u16string_view computerName, std::u16string_view organizationUnitPath) {
    platform::DirectoryService& directory = os.directory;
    DiagnosticLog& log = state.Log;
    const std::u16string searchPath = SearchBindPath(domainDnsName);
    const ComBracket com(directory);

    SourcePathText source;
    bool sawUnusablePath = false;
    {
        DirectoryReference search(directory);
        const platform::HResult bound =
            BindWithStoredCredentials(directory, state, searchPath,
                                      platform::DirectoryInterfaceKind::DirectorySearch, search);
        log.Log(LevelOf(bound), bound, u"%S: ADsOpenObject(IDirectorySearch) = %p", kOperation,
                search.get());
        if (platform::hresult::Failed(bound)) {
            return ReduceHResult(bound);
        }
        const platform::HResult paged = SetPagedSearch(directory, search.get());
        log.Log(LevelOf(paged), paged, u"%S: SetSearchPreference", kOperation);
        if (platform::hresult::Failed(paged)) {
            return ReduceHResult(paged);
        }
        const platform::HResult searched = ForEachComputerPath(
            directory, search.get(), computerName, [&](std::u16string_view path) {
                // A longer path cut to the field would name another object
                // (a parent container, say) and move that one: such a row
                // is not used.
                if (path.size() >= SourcePathText::kCapacity) {
                    sawUnusablePath = true;
                    return;
                }
                source.Assign(path);
            });
        if (platform::hresult::Failed(searched)) {
            return ReduceHResult(searched);
        }
    }
    if (source.empty()) {
        // An object that exists but cannot be moved is not reported as
        // missing, which would have the caller create a second account.
        return sawUnusablePath ? platform::error::kBufferOverflow
                               : platform::error::kNerrComputerAccountNotFound;
    }

    const std::u16string targetPath = OrganizationUnitBindPath(domainDnsName, organizationUnitPath);
    DirectoryReference container(directory);
    const platform::HResult bound = BindWithStoredCredentials(
        directory, state, targetPath, platform::DirectoryInterfaceKind::Container, container);
    log.Log(LevelOf(bound), bound, u"%S: Path = %s", kOperation, targetPath);
    log.Log(LevelOf(bound), bound, u"%S: ADsOpenObject(IADsContainer) = %p", kOperation,
            container.get());
    if (platform::hresult::Failed(bound)) {
        return ReduceHResult(bound);
    }

    DirectoryReference moved(directory);
    const platform::HResult move =
        directory.MoveHere(container.get(), source.c_str(), nullptr, moved.Receive());
    log.Log(LevelOf(move), move, u"%S: MoveHere(Source: %s)", kOperation, source);
    if (platform::hresult::Failed(move)) {
        return ReduceHResult(move);
    }

    // The commit goes through the target container's IADs.
    DirectoryReference ads(directory);
    platform::HResult queried = directory.QueryInterface(
        container.get(), platform::DirectoryInterfaceKind::Ads, ads.Receive());
    if (!platform::hresult::Failed(queried) && !ads) {
        queried = platform::hresult::kPointer;
    }
    log.Log(LevelOf(queried), queried, u"%S: QueryInterface(IADs)", kOperation);
    if (platform::hresult::Failed(queried)) {
        return ReduceHResult(queried);
    }

    const platform::HResult committed = directory.SetInfo(ads.get());
    moved.Reset();
    log.Log(LevelOf(committed), committed, u"%S:IADs.SetInfo", kOperation);
    return ReduceHResult(committed);
}

} // namespace corvane
