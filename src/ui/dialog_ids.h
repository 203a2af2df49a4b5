// The numbers that the resource scripts, the dialog procedures and the apply
// engine share: resource ids of the dialogs, icons and header picture, and the
// control ids of every dialog item that code addresses. The string ids live
// with the string table in ui/string_resources.h, included here so that one
// include gives every resource id.
#pragma once

#include "ui/string_resources.h"

#include <cstdint>

namespace corvane::ui {

// A control id as GetDlgCtrlID reports it (DIALOGEX stores ids as 32 bits,
// so -1 stays -1).
using ItemId = int;
// An integer resource id (MAKEINTRESOURCE).
using ResourceId = std::uint16_t;

inline constexpr ResourceId kDialogMain = 101;
inline constexpr ResourceId kIconApplication = 102;
inline constexpr ResourceId kBitmapHeader = 104;
inline constexpr ResourceId kDialogAuthentication = 105;
inline constexpr ResourceId kDialogProgress = 106;
inline constexpr ResourceId kIconCredentials = 107;

// IDOK and IDCANCEL: the dialog manager sends these for Enter and Escape.
inline constexpr ItemId kItemOk = 1;
inline constexpr ItemId kItemCancel = 2;
// Labels, frames and rules that no code addresses (IDC_STATIC).
inline constexpr ItemId kItemUnaddressed = -1;

// Main settings dialog (101).
namespace main_dialog {
inline constexpr ItemId kComputerName = 1003;
inline constexpr ItemId kDomain = 1004;
inline constexpr ItemId kWorkgroup = 1005;
inline constexpr ItemId kHeaderText = 1006;
inline constexpr ItemId kHeaderBand = 1008;
inline constexpr ItemId kAddressAutomatic = 1009;
inline constexpr ItemId kAddressFixed = 1010;
inline constexpr ItemId kIpAddress = 1011;
inline constexpr ItemId kSubnetMask = 1012;
inline constexpr ItemId kDefaultGateway = 1013;
inline constexpr ItemId kAdapterList = 1014;
inline constexpr ItemId kMemberOfDomain = 1015;
inline constexpr ItemId kMemberOfWorkgroup = 1016;
inline constexpr ItemId kIpAddressLabel = 1018;
inline constexpr ItemId kSubnetMaskLabel = 1019;
inline constexpr ItemId kDefaultGatewayLabel = 1020;
inline constexpr ItemId kStartWithWindows = 1022;
inline constexpr ItemId kCredentials = 1025;
inline constexpr ItemId kAdapterHeading = 1030;
inline constexpr ItemId kComputerNameHeading = 1031;
inline constexpr ItemId kMembershipHeading = 1032;
inline constexpr ItemId kOrganizationUnitHeading = 1033;
inline constexpr ItemId kOrganizationUnitList = 1034;
} // namespace main_dialog

// Authentication dialog (105). Its domain field shares the main dialog's id.
namespace auth_dialog {
inline constexpr ItemId kDomain = 1004;
inline constexpr ItemId kAccount = 1021;
inline constexpr ItemId kPassword = 1022;
inline constexpr ItemId kDomainBrowser = 1026;
inline constexpr ItemId kErrorText = 1028;
} // namespace auth_dialog

// Progress dialog (106).
namespace progress_dialog {
inline constexpr ItemId kBar = 1024;
} // namespace progress_dialog

} // namespace corvane::ui
