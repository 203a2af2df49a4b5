// The directory of the domain through Active Directory Service Interfaces:
// binding, searching, moving, creating and deleting objects.
//
// Every interface the directory hands out is an opaque, pointer-like value
// (the COM interface pointer on Windows; 0 is none) that the caller releases
// with Release exactly once. Results are COM status codes: negative for
// failure, S_OK (0) or another non-negative status for success. Texts passed
// in are only read during the call; texts handed out live as stated below.
#pragma once

#include "platform/types.h"

#include <cstdint>

namespace corvane::platform {

// An interface pointer of the directory; kNoDirectoryInterface for none.
using DirectoryInterface = std::uintptr_t;
inline constexpr DirectoryInterface kNoDirectoryInterface = 0;

// ADS_SEARCH_HANDLE: one running search of an IDirectorySearch.
using DirectorySearchHandle = std::uintptr_t;
inline constexpr DirectorySearchHandle kNoDirectorySearch = 0;

// The interfaces the program asks the directory for.
enum class DirectoryInterfaceKind : std::uint32_t {
    DirectorySearch, // IDirectorySearch
    Container,       // IADsContainer
    Ads,             // IADs
    Dispatch,        // IDispatch
};

namespace hresult {
inline constexpr HResult kOk = 0;                                              // S_OK
inline constexpr HResult kFalse = 1;                                           // S_FALSE
inline constexpr HResult kNoMoreRows = 0x00005012;                             // S_ADS_NOMORE_ROWS
inline constexpr HResult kFail = static_cast<HResult>(0x80004005u);            // E_FAIL
inline constexpr HResult kNoInterface = static_cast<HResult>(0x80004002u);     // E_NOINTERFACE
inline constexpr HResult kPointer = static_cast<HResult>(0x80004003u);         // E_POINTER
inline constexpr HResult kNotImplemented = static_cast<HResult>(0x80004001u);  // E_NOTIMPL
inline constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000Eu);     // E_OUTOFMEMORY
inline constexpr HResult kInvalidArgument = static_cast<HResult>(0x80070057u); // E_INVALIDARG
inline constexpr HResult kNotInitialized = static_cast<HResult>(0x800401F0u); // CO_E_NOTINITIALIZED
inline constexpr HResult kChangedMode = static_cast<HResult>(0x80010106u);    // RPC_E_CHANGEDMODE
inline constexpr HResult kBadPathName = static_cast<HResult>(0x80005000u);    // E_ADS_BAD_PATHNAME
inline constexpr HResult kUnknownObject = static_cast<HResult>(0x80005004u); // E_ADS_UNKNOWN_OBJECT
inline constexpr HResult kBadParameter = static_cast<HResult>(0x80005008u);  // E_ADS_BAD_PARAMETER
inline constexpr HResult kColumnNotSet = static_cast<HResult>(0x80005010u);  // E_ADS_COLUMN_NOT_SET

// HRESULT_FROM_WIN32.
constexpr HResult FromWin32(ErrorCode code) {
    return code == 0 ? kOk : static_cast<HResult>((code & 0xFFFFu) | 0x80070000u);
}
constexpr bool Failed(HResult status) {
    return status < 0;
}
} // namespace hresult

// ADsOpenObject flags.
inline constexpr std::uint32_t kAdsSecureAuthentication = 0x1;

// ADS_SEARCHPREF_INFO with an integer value, the only kind the program sets.
inline constexpr std::uint32_t kAdsSearchPrefPageSize = 7; // ADS_SEARCHPREF_PAGESIZE
inline constexpr std::uint32_t kAdsTypeInteger = 7;        // ADSTYPE_INTEGER
struct DirectorySearchPreference {
    std::uint32_t preference = 0;
    std::uint32_t valueType = 0;
    std::uint32_t integer = 0;
};

// ADS_SEARCH_COLUMN, reduced to what the program reads. `text` is the first
// value as a string (null when the attribute's values are not strings or it
// has none); it stays valid until FreeColumn. `token` belongs to the
// implementation.
struct DirectorySearchColumn {
    const char16_t* text = nullptr;
    std::uint32_t valueCount = 0;
    std::uintptr_t token = 0;
};

class DirectoryService {
public:
    virtual ~DirectoryService() = default;

    // CoInitialize(NULL) and CoUninitialize on the calling thread. Only a
    // successful CoInitialize (S_OK or S_FALSE) is to be paired with
    // CoUninitialize.
    virtual HResult CoInitialize() = 0;
    virtual void CoUninitialize() = 0;

    // ADsOpenObject: binds the object at `path` ("LDAP://server/DN",
    // "LDAP://server", "WinNT://domain") with `user` and `password` (both
    // null: the calling thread's logon) and returns the interface asked for.
    // `*object` is kNoDirectoryInterface on failure.
    virtual HResult OpenObject(const char16_t* path, const char16_t* user, const char16_t* password,
                               std::uint32_t flags, DirectoryInterfaceKind kind,
                               DirectoryInterface* object) = 0;

    // IUnknown.
    virtual HResult QueryInterface(DirectoryInterface object, DirectoryInterfaceKind kind,
                                   DirectoryInterface* result) = 0;
    virtual std::uint32_t Release(DirectoryInterface object) = 0;

    // IDirectorySearch.
    virtual HResult SetSearchPreference(DirectoryInterface search,
                                        const DirectorySearchPreference* preferences,
                                        std::uint32_t count) = 0;
    virtual HResult ExecuteSearch(DirectoryInterface search, const char16_t* filter,
                                  const char16_t* const* attributes, std::uint32_t count,
                                  DirectorySearchHandle* handle) = 0;
    // S_OK with a row, S_ADS_NOMORE_ROWS at the end, or a failure.
    virtual HResult GetNextRow(DirectoryInterface search, DirectorySearchHandle handle) = 0;
    virtual HResult GetColumn(DirectoryInterface search, DirectorySearchHandle handle,
                              const char16_t* name, DirectorySearchColumn* column) = 0;
    virtual HResult FreeColumn(DirectoryInterface search, DirectorySearchColumn* column) = 0;
    virtual HResult CloseSearchHandle(DirectoryInterface search, DirectorySearchHandle handle) = 0;

    // IADsContainer. MoveHere and Create hand out the object's IDispatch.
    // The class name is narrow text, widened with the thread's ANSI code
    // page.
    virtual HResult MoveHere(DirectoryInterface container, const char16_t* sourcePath,
                             const char16_t* newName, DirectoryInterface* moved) = 0;
    virtual HResult Create(DirectoryInterface container, const char* className,
                           const char16_t* relativeName, DirectoryInterface* created) = 0;
    virtual HResult Delete(DirectoryInterface container, const char* className,
                           const char16_t* relativeName) = 0;

    // IADs.
    virtual HResult SetInfo(DirectoryInterface object) = 0;
};

} // namespace corvane::platform
