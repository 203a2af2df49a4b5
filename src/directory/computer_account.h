// The computer's account in the domain's directory: where it lives, moving
// it into an organisational unit, creating and deleting it. Each operation
// uses the stored credentials of the setup state, logs every step to its log
// and returns a Win32-style code (a failing COM status reduced to its low
// 16 bits).
#pragma once

#include "model/setup_state.h"
#include "platform/platform.h"

#include <optional>
#include <string_view>

namespace corvane {

// Finds the computer object named `computerName` and writes the OU path of
// the unit holding it (empty for the default computer container) into
// `located`. True when the search ran to its end; `located` is written only
// for a row that was found.
bool GetComputerAccountOrganizationUnit(platform::Platform& os, SetupState& state,
                                        std::u16string_view domainDnsName,
                                        std::u16string_view computerName,
                                        OrganizationUnitText& located);

// Moves the computer object into the unit of `organizationUnitPath` (empty:
// the default computer container). 0 on success, 2697 when no computer of
// that name exists.
platform::ErrorCode MoveComputerAccountToOrganizationUnit(platform::Platform& os, SetupState& state,
                                                          std::u16string_view domainDnsName,
                                                          std::u16string_view computerName,
                                                          std::u16string_view organizationUnitPath);

// Creates the computer's account through the WinNT provider and, when an OU
// path is given, moves it there.
platform::ErrorCode CreateComputerAccount(platform::Platform& os, SetupState& state,
                                          std::u16string_view domainName,
                                          std::u16string_view computerName,
                                          std::optional<std::u16string_view> organizationUnitPath);

// Deletes the computer's account through the WinNT provider.
platform::ErrorCode DeleteComputerAccount(platform::Platform& os, SetupState& state,
                                          std::u16string_view domainName,
                                          std::u16string_view computerName);

} // namespace corvane
