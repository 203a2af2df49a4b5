#include "platform/win32/directory_service.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

// clang-format off
#include <ole2.h>
#include <oleauto.h>
#include <iads.h>
// clang-format on

#include <new>

namespace corvane::win32 {

namespace {

using platform::DirectoryInterface;
using platform::DirectoryInterfaceKind;
using platform::HResult;

using AdsOpenObjectFunction = HRESULT(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, REFIID, void**);

// More than the program ever passes; a longer list is refused rather than
// copied to the heap.
constexpr std::uint32_t kMaxListLength = 16;
constexpr std::uint32_t kAllAttributes = 0xFFFFFFFFu;

const IID& InterfaceId(DirectoryInterfaceKind kind) {
    switch (kind) {
    case DirectoryInterfaceKind::DirectorySearch:
        return IID_IDirectorySearch;
    case DirectoryInterfaceKind::Container:
        return IID_IADsContainer;
    case DirectoryInterfaceKind::Ads:
        return IID_IADs;
    case DirectoryInterfaceKind::Dispatch:
        break;
    }
    return IID_IDispatch;
}

template <typename Interface>
Interface* As(DirectoryInterface value) {
    return reinterpret_cast<Interface*>(value);
}

DirectoryInterface Handle(void* pointer) {
    return reinterpret_cast<DirectoryInterface>(pointer);
}

ADS_SEARCH_HANDLE SearchHandle(platform::DirectorySearchHandle handle) {
    return reinterpret_cast<ADS_SEARCH_HANDLE>(handle);
}

// A BSTR made for one call and freed when it goes out of scope. A failed
// allocation leaves it null; the call then fails with E_OUTOFMEMORY instead
// of handing the directory a null name.
class CallString {
public:
    explicit CallString(const char16_t* text) : text_(SysAllocString(Wide(text))) {}
    // Narrow text widened with the thread's ANSI code page.
    explicit CallString(const char* text) {
        const int length = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
        if (length <= 0) {
            return;
        }
        text_ = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
        if (text_ != nullptr &&
            MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, text_, length) != length) {
            SysFreeString(text_);
            text_ = nullptr;
        }
    }
    ~CallString() { SysFreeString(text_); }
    CallString(const CallString&) = delete;
    CallString& operator=(const CallString&) = delete;

    BSTR get() const { return text_; }
    explicit operator bool() const { return text_ != nullptr; }

private:
    BSTR text_ = nullptr;
};

bool IsStringType(ADSTYPE type) {
    switch (type) {
    case ADSTYPE_DN_STRING:
    case ADSTYPE_CASE_EXACT_STRING:
    case ADSTYPE_CASE_IGNORE_STRING:
    case ADSTYPE_PRINTABLE_STRING:
    case ADSTYPE_NUMERIC_STRING:
        return true;
    default:
        return false;
    }
}

} // namespace

Win32DirectoryService::Win32DirectoryService() : activeds_(L"activeds.dll") {}

HResult Win32DirectoryService::CoInitialize() {
    return ::CoInitialize(nullptr);
}

void Win32DirectoryService::CoUninitialize() {
    ::CoUninitialize();
}

HResult Win32DirectoryService::OpenObject(const char16_t* path, const char16_t* user,
                                          const char16_t* password, std::uint32_t flags,
                                          DirectoryInterfaceKind kind, DirectoryInterface* object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = platform::kNoDirectoryInterface;
    if (path == nullptr) {
        return E_POINTER;
    }
    AdsOpenObjectFunction open = nullptr;
    if (const platform::ErrorCode missing = activeds_.Find("ADsOpenObject", open)) {
        return platform::hresult::FromWin32(missing);
    }
    void* pointer = nullptr;
    const HRESULT status =
        open(Wide(path), Wide(user), Wide(password), flags, InterfaceId(kind), &pointer);
    if (SUCCEEDED(status)) {
        *object = Handle(pointer);
    }
    return status;
}

HResult Win32DirectoryService::QueryInterface(DirectoryInterface object,
                                              DirectoryInterfaceKind kind,
                                              DirectoryInterface* result) {
    if (result == nullptr) {
        return E_POINTER;
    }
    *result = platform::kNoDirectoryInterface;
    if (object == platform::kNoDirectoryInterface) {
        return E_POINTER;
    }
    void* pointer = nullptr;
    const HRESULT status = As<IUnknown>(object)->QueryInterface(InterfaceId(kind), &pointer);
    if (SUCCEEDED(status)) {
        *result = Handle(pointer);
    }
    return status;
}

std::uint32_t Win32DirectoryService::Release(DirectoryInterface object) {
    if (object == platform::kNoDirectoryInterface) {
        return 0;
    }
    return As<IUnknown>(object)->Release();
}

HResult
Win32DirectoryService::SetSearchPreference(DirectoryInterface search,
                                           const platform::DirectorySearchPreference* preferences,
                                           std::uint32_t count) {
    if (search == platform::kNoDirectoryInterface || (preferences == nullptr && count != 0)) {
        return E_POINTER;
    }
    if (count > kMaxListLength) {
        return E_INVALIDARG;
    }
    ADS_SEARCHPREF_INFO infos[kMaxListLength] = {};
    for (std::uint32_t i = 0; i < count; ++i) {
        infos[i].dwSearchPref = static_cast<ADS_SEARCHPREF>(preferences[i].preference);
        infos[i].vValue.dwType = static_cast<ADSTYPE>(preferences[i].valueType);
        infos[i].vValue.Integer = preferences[i].integer;
    }
    return As<IDirectorySearch>(search)->SetSearchPreference(infos, count);
}

HResult Win32DirectoryService::ExecuteSearch(DirectoryInterface search, const char16_t* filter,
                                             const char16_t* const* attributes, std::uint32_t count,
                                             platform::DirectorySearchHandle* handle) {
    if (handle == nullptr) {
        return E_POINTER;
    }
    *handle = platform::kNoDirectorySearch;
    if (search == platform::kNoDirectoryInterface || filter == nullptr) {
        return E_POINTER;
    }
    // The interface takes non-const texts that it only reads.
    LPWSTR names[kMaxListLength] = {};
    LPWSTR* list = nullptr;
    if (count != kAllAttributes) {
        if (count > kMaxListLength) {
            return E_INVALIDARG;
        }
        if (count != 0 && attributes == nullptr) {
            return E_POINTER;
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            names[i] = const_cast<LPWSTR>(Wide(attributes[i]));
        }
        list = count != 0 ? names : nullptr;
    }
    ADS_SEARCH_HANDLE result = nullptr;
    const HRESULT status = As<IDirectorySearch>(search)->ExecuteSearch(
        const_cast<LPWSTR>(Wide(filter)), list, count, &result);
    if (SUCCEEDED(status)) {
        *handle = reinterpret_cast<platform::DirectorySearchHandle>(result);
    }
    return status;
}

HResult Win32DirectoryService::GetNextRow(DirectoryInterface search,
                                          platform::DirectorySearchHandle handle) {
    if (search == platform::kNoDirectoryInterface) {
        return E_POINTER;
    }
    return As<IDirectorySearch>(search)->GetNextRow(SearchHandle(handle));
}

HResult Win32DirectoryService::GetColumn(DirectoryInterface search,
                                         platform::DirectorySearchHandle handle,
                                         const char16_t* name,
                                         platform::DirectorySearchColumn* column) {
    if (column == nullptr) {
        return E_POINTER;
    }
    *column = {};
    if (search == platform::kNoDirectoryInterface || name == nullptr) {
        return E_POINTER;
    }
    auto* record = new (std::nothrow) ADS_SEARCH_COLUMN{};
    if (record == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT status = As<IDirectorySearch>(search)->GetColumn(
        SearchHandle(handle), const_cast<LPWSTR>(Wide(name)), record);
    if (FAILED(status)) {
        delete record;
        return status;
    }
    // The string members of ADSVALUE share one place in its union.
    if (record->dwNumValues > 0 && record->pADsValues != nullptr &&
        IsStringType(record->pADsValues[0].dwType)) {
        column->text = Utf16(record->pADsValues[0].CaseIgnoreString);
    }
    column->valueCount = record->dwNumValues;
    column->token = reinterpret_cast<std::uintptr_t>(record);
    return status;
}

HResult Win32DirectoryService::FreeColumn(DirectoryInterface search,
                                          platform::DirectorySearchColumn* column) {
    if (column == nullptr || column->token == 0 || search == platform::kNoDirectoryInterface) {
        return E_POINTER;
    }
    auto* record = reinterpret_cast<ADS_SEARCH_COLUMN*>(column->token);
    const HRESULT status = As<IDirectorySearch>(search)->FreeColumn(record);
    delete record;
    *column = {};
    return status;
}

HResult Win32DirectoryService::CloseSearchHandle(DirectoryInterface search,
                                                 platform::DirectorySearchHandle handle) {
    if (search == platform::kNoDirectoryInterface) {
        return E_POINTER;
    }
    return As<IDirectorySearch>(search)->CloseSearchHandle(SearchHandle(handle));
}

HResult Win32DirectoryService::MoveHere(DirectoryInterface container, const char16_t* sourcePath,
                                        const char16_t* newName, DirectoryInterface* moved) {
    if (moved != nullptr) {
        *moved = platform::kNoDirectoryInterface;
    }
    if (container == platform::kNoDirectoryInterface || sourcePath == nullptr) {
        return E_POINTER;
    }
    const CallString source(sourcePath);
    if (!source) {
        return E_OUTOFMEMORY;
    }
    const CallString name(newName);
    if (newName != nullptr && !name) {
        return E_OUTOFMEMORY;
    }
    IDispatch* object = nullptr;
    const HRESULT status =
        As<IADsContainer>(container)->MoveHere(source.get(), name.get(), &object);
    if (SUCCEEDED(status) && moved != nullptr) {
        *moved = Handle(object);
    } else if (object != nullptr) {
        object->Release();
    }
    return status;
}

HResult Win32DirectoryService::Create(DirectoryInterface container, const char* className,
                                      const char16_t* relativeName, DirectoryInterface* created) {
    if (created == nullptr) {
        return E_POINTER;
    }
    *created = platform::kNoDirectoryInterface;
    if (container == platform::kNoDirectoryInterface || className == nullptr ||
        relativeName == nullptr) {
        return E_POINTER;
    }
    const CallString objectClass(className);
    const CallString name(relativeName);
    if (!objectClass || !name) {
        return E_OUTOFMEMORY;
    }
    IDispatch* object = nullptr;
    const HRESULT status =
        As<IADsContainer>(container)->Create(objectClass.get(), name.get(), &object);
    if (SUCCEEDED(status)) {
        *created = Handle(object);
    }
    return status;
}

HResult Win32DirectoryService::Delete(DirectoryInterface container, const char* className,
                                      const char16_t* relativeName) {
    if (container == platform::kNoDirectoryInterface || className == nullptr ||
        relativeName == nullptr) {
        return E_POINTER;
    }
    const CallString objectClass(className);
    const CallString name(relativeName);
    if (!objectClass || !name) {
        return E_OUTOFMEMORY;
    }
    return As<IADsContainer>(container)->Delete(objectClass.get(), name.get());
}

HResult Win32DirectoryService::SetInfo(DirectoryInterface object) {
    if (object == platform::kNoDirectoryInterface) {
        return E_POINTER;
    }
    return As<IADs>(object)->SetInfo();
}

} // namespace corvane::win32
