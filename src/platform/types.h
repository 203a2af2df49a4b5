// Plain types shared by the platform interface and the portable core.
//
// Records that the program keeps whole have the Windows SDK layout in every
// build (the Windows build checks this against the SDK's own types), because
// change detection compares them byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane::platform {

// Win32 and network-management result codes (0 = success).
using ErrorCode = std::uint32_t;
// COM status codes.
using HResult = std::int32_t;
// Locale identifiers (LCID) and language identifiers (LANGID).
using LocaleId = std::uint32_t;
using LanguageId = std::uint16_t;

namespace error {
inline constexpr ErrorCode kSuccess = 0;
inline constexpr ErrorCode kFileNotFound = 2;
inline constexpr ErrorCode kAccessDenied = 5;
inline constexpr ErrorCode kInvalidHandle = 6;
inline constexpr ErrorCode kNotEnoughMemory = 8;
inline constexpr ErrorCode kSharingViolation = 32;
inline constexpr ErrorCode kNotSupported = 50;
inline constexpr ErrorCode kInvalidParameter = 87;
inline constexpr ErrorCode kInvalidPassword = 86;
inline constexpr ErrorCode kBufferOverflow = 111;
inline constexpr ErrorCode kInsufficientBuffer = 122;
inline constexpr ErrorCode kProcNotFound = 127;
inline constexpr ErrorCode kMoreData = 234;
inline constexpr ErrorCode kNoData = 232;
inline constexpr ErrorCode kNoMoreItems = 259;
inline constexpr ErrorCode kNoSuchDomain = 1355;
inline constexpr ErrorCode kCancelled = 1223;
inline constexpr ErrorCode kRetry = 1237;
inline constexpr ErrorCode kWrongPassword = 1323;
inline constexpr ErrorCode kLogonFailure = 1326;
inline constexpr ErrorCode kAccountDisabled = 1331;
inline constexpr ErrorCode kResourceLangNotFound = 1815;
inline constexpr ErrorCode kNerrSetupAlreadyJoined = 2691;
inline constexpr ErrorCode kNerrSetupNotJoined = 2692;
inline constexpr ErrorCode kNerrComputerAccountNotFound = 2697;
inline constexpr ErrorCode kDnsNameDoesNotExist = 9003;
} // namespace error

// NETSETUP_JOIN_STATUS.
enum class JoinStatus : std::uint32_t {
    Unknown = 0,
    Unjoined = 1,
    Workgroup = 2,
    Domain = 3,
};

// NetJoinDomain / NetUnjoinDomain / NetRenameMachineInDomain option bits.
namespace netsetup {
inline constexpr std::uint32_t kJoinDomain = 0x01;
inline constexpr std::uint32_t kAccountCreate = 0x02;
inline constexpr std::uint32_t kAccountDelete = 0x04;
inline constexpr std::uint32_t kDomainJoinIfJoined = 0x20;
// The join uses the name set with SetComputerNameEx and pending until the
// next start, not the name the computer runs under now.
inline constexpr std::uint32_t kJoinWithNewName = 0x400;
} // namespace netsetup

// DsGetDcName flag asking for the DNS form of the names.
inline constexpr std::uint32_t kDsReturnDnsName = 0x40000000;

// COMPUTER_NAME_FORMAT values used by the program.
enum class ComputerNameFormat : std::uint32_t {
    NetBios = 0,
    DnsHostname = 1,
    PhysicalNetBios = 4,
    PhysicalDnsHostname = 5,
};

// SYSTEMTIME.
struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

// GUID.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};
};

// DOMAIN_CONTROLLER_INFOW, as DsGetDcName returns it (released with
// NetApiBufferFree). The program reads only domainName.
struct DomainControllerInfo {
    char16_t* domainControllerName = nullptr;
    char16_t* domainControllerAddress = nullptr;
    std::uint32_t domainControllerAddressType = 0;
    Guid domainGuid;
    char16_t* domainName = nullptr;
    char16_t* dnsForestName = nullptr;
    std::uint32_t flags = 0;
    char16_t* dcSiteName = nullptr;
    char16_t* clientSiteName = nullptr;
};

// IP_ADDRESS_STRING and IP_ADDR_STRING.
inline constexpr std::size_t kIpAddressTextSize = 16;
struct IpAddressText {
    char text[kIpAddressTextSize];
};
struct IpAddrString {
    IpAddrString* next;
    IpAddressText ipAddress;
    IpAddressText ipMask;
    std::uint32_t context;
};

// IP_ADAPTER_INFO. Kept whole as the program's adapter record.
inline constexpr std::size_t kMaxAdapterNameLength = 256;
inline constexpr std::size_t kMaxAdapterDescriptionLength = 128;
inline constexpr std::size_t kMaxAdapterAddressLength = 8;
struct AdapterRecord {
    AdapterRecord* next;
    std::uint32_t comboIndex;
    char adapterName[kMaxAdapterNameLength + 4];
    char description[kMaxAdapterDescriptionLength + 4];
    std::uint32_t addressLength;
    std::uint8_t address[kMaxAdapterAddressLength];
    std::uint32_t index;
    std::uint32_t type;
    std::uint32_t dhcpEnabled;
    IpAddrString* currentIpAddress;
    IpAddrString ipAddressList;
    IpAddrString gatewayList;
    IpAddrString dhcpServer;
    std::int32_t haveWins;
    IpAddrString primaryWinsServer;
    IpAddrString secondaryWinsServer;
    std::int64_t leaseObtained;
    std::int64_t leaseExpires;
};

// IP_ADAPTER_INDEX_MAP and IP_INTERFACE_INFO (a count followed by that many
// entries; the declared array of one is the C idiom for a variable tail).
inline constexpr std::size_t kMaxAdapterIndexMapName = 128;
struct AdapterIndexMap {
    std::uint32_t index;
    char16_t name[kMaxAdapterIndexMapName];
};
struct InterfaceInfo {
    std::int32_t numAdapters;
    AdapterIndexMap adapter[1];
};

static_assert(sizeof(IpAddrString) == 48);
static_assert(sizeof(AdapterRecord) == 704);
static_assert(offsetof(AdapterRecord, dhcpEnabled) == 424);
static_assert(offsetof(AdapterRecord, ipAddressList) == 440);
static_assert(offsetof(AdapterRecord, gatewayList) == 488);
static_assert(sizeof(AdapterIndexMap) == 260);
static_assert(sizeof(InterfaceInfo) == 264);

// Registry.
enum class RegistryRoot : std::uint32_t { LocalMachine, CurrentUser };
using RegistryKey = std::uintptr_t; // 0 is never a valid open key
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

// Windows: an opaque window identity (HWND on Windows); 0 is the desktop.
using WindowId = std::uintptr_t;
inline constexpr WindowId kDesktopWindow = 0;

// Events and threads.
using EventHandle = std::uintptr_t; // 0: none

// Files.
using FileHandle = std::uintptr_t;
inline constexpr FileHandle kInvalidFile = 0;

// GetLocaleInfo types that the program asks for.
enum class LocaleInfoType : std::uint32_t {
    Iso639LanguageName = 0x59, // LOCALE_SISO639LANGNAME
    Iso3166CountryName = 0x5A, // LOCALE_SISO3166CTRYNAME
};

inline constexpr LocaleId kLocaleUserDefault = 0x0400;
inline constexpr LocaleId kLocaleCustomDefault = 0x0C00;
inline constexpr LocaleId kLocaleEnglishUS = 0x0409;
inline constexpr LocaleId kLocaleGermanGermany = 0x0407;
inline constexpr std::uint32_t kLcidSupported = 2;

} // namespace corvane::platform
