// The adapter's DNS server list through WMI: the method
// Win32_NetworkAdapterConfiguration.SetDNSServerSearchOrder, documented and
// available from Windows Vista on, sets the per-interface list and makes it
// effective at once. (SetInterfaceDnsSettings of netioapi needs Windows 10
// 2004; the registry value NameServer alone is not taken up until the
// interface is reconfigured.)
#include "platform/win32/services.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

// clang-format off
#include <ole2.h>
#include <oleauto.h>
#include <wbemidl.h>
// clang-format on

#include <string>

namespace corvane::win32 {

namespace {

using platform::ErrorCode;

// WBEM_E_NOT_FOUND: no adapter configuration has that SettingID.
constexpr HRESULT kWbemNotFound = static_cast<HRESULT>(0x80041002u);
constexpr HRESULT kWbemFailed = static_cast<HRESULT>(0x80041001u);
constexpr HRESULT kWbemTypeMismatch = static_cast<HRESULT>(0x80041005u);
constexpr HRESULT kWbemInvalidMethod = static_cast<HRESULT>(0x8004102Eu);

// An interface pointer released when it goes out of scope.
template <typename Interface>
class Held {
public:
    Held() = default;
    ~Held() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }
    Interface** out() { return &pointer_; }
    void** outVoid() { return reinterpret_cast<void**>(&pointer_); }

private:
    Interface* pointer_ = nullptr;
};

// A BSTR for one call; null when the allocation failed.
class CallText {
public:
    explicit CallText(const wchar_t* text) : text_(SysAllocString(text)) {}
    ~CallText() { SysFreeString(text_); }
    CallText(const CallText&) = delete;
    CallText& operator=(const CallText&) = delete;
    BSTR get() const { return text_; }

private:
    BSTR text_ = nullptr;
};

// A VARIANT cleared when it goes out of scope.
class HeldVariant {
public:
    HeldVariant() { VariantInit(&value_); }
    ~HeldVariant() { VariantClear(&value_); }
    HeldVariant(const HeldVariant&) = delete;
    HeldVariant& operator=(const HeldVariant&) = delete;
    VARIANT* get() { return &value_; }

private:
    VARIANT value_;
};

// COM on this thread for the length of the call, unless the thread has it
// already in another apartment, which serves as well.
class ComForCall {
public:
    ComForCall() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComForCall() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComForCall(const ComForCall&) = delete;
    ComForCall& operator=(const ComForCall&) = delete;
    bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

ErrorCode Failure(HRESULT result) {
    return static_cast<ErrorCode>(result);
}

// The BSTR array of the method's one parameter; null when out of memory.
SAFEARRAY* ServerArray(const char16_t* const* servers, std::uint32_t count) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, count);
    if (array == nullptr) {
        return nullptr;
    }
    for (LONG i = 0; i < static_cast<LONG>(count); ++i) {
        const CallText server(Wide(servers[i]));
        if (server.get() == nullptr || FAILED(SafeArrayPutElement(array, &i, server.get()))) {
            SafeArrayDestroy(array);
            return nullptr;
        }
    }
    return array;
}

ErrorCode SetDnsServerSearchOrderThroughWmi(std::string_view settingId,
                                            const char16_t* const* servers, std::uint32_t count) {
    const ComForCall com;
    if (!com.Usable()) {
        return Failure(com.Result());
    }
    Held<IWbemLocator> locator;
    HRESULT result = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWbemLocator, locator.outVoid());
    if (FAILED(result)) {
        return Failure(result);
    }
    const CallText space(L"ROOT\\CIMV2");
    Held<IWbemServices> services;
    result = locator->ConnectServer(space.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                    services.out());
    if (FAILED(result)) {
        return Failure(result);
    }
    // Calls on the proxy run as this process's user, which WMI needs to be
    // allowed to impersonate to change the configuration.
    result =
        CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                          RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    if (FAILED(result)) {
        return Failure(result);
    }

    std::wstring query = L"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE SettingID = '";
    query.append(settingId.begin(), settingId.end());
    query += L"'";
    const CallText language(L"WQL");
    const CallText queryText(query.c_str());
    Held<IEnumWbemClassObject> found;
    result = services->ExecQuery(language.get(), queryText.get(),
                                 WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                 found.out());
    if (FAILED(result)) {
        return Failure(result);
    }
    Held<IWbemClassObject> adapter;
    ULONG returned = 0;
    result = found->Next(static_cast<LONG>(WBEM_INFINITE), 1, adapter.out(), &returned);
    if (FAILED(result)) {
        return Failure(result);
    }
    if (returned == 0 || adapter.get() == nullptr) {
        return Failure(kWbemNotFound);
    }
    HeldVariant path;
    result = adapter->Get(L"__PATH", 0, path.get(), nullptr, nullptr);
    if (FAILED(result) || path.get()->vt != VT_BSTR) {
        return Failure(FAILED(result) ? result : kWbemNotFound);
    }

    const CallText className(L"Win32_NetworkAdapterConfiguration");
    const CallText methodName(L"SetDNSServerSearchOrder");
    Held<IWbemClassObject> configurationClass;
    result = services->GetObject(className.get(), 0, nullptr, configurationClass.out(), nullptr);
    if (FAILED(result)) {
        return Failure(result);
    }
    Held<IWbemClassObject> signature;
    result = configurationClass->GetMethod(methodName.get(), 0, signature.out(), nullptr);
    if (FAILED(result) || signature.get() == nullptr) {
        return Failure(FAILED(result) ? result : kWbemInvalidMethod);
    }
    Held<IWbemClassObject> parameters;
    result = signature->SpawnInstance(0, parameters.out());
    if (FAILED(result)) {
        return Failure(result);
    }
    // Without the parameter the method returns the adapter to the servers
    // DHCP gives it.
    if (count > 0) {
        HeldVariant list;
        list.get()->parray = ServerArray(servers, count);
        if (list.get()->parray == nullptr) {
            return Failure(E_OUTOFMEMORY);
        }
        list.get()->vt = static_cast<VARTYPE>(VT_ARRAY | VT_BSTR);
        result = parameters->Put(L"DNSServerSearchOrder", 0, list.get(), 0);
        if (FAILED(result)) {
            return Failure(result);
        }
    }
    Held<IWbemClassObject> answer;
    result = services->ExecMethod(path.get()->bstrVal, methodName.get(), 0, nullptr,
                                  parameters.get(), answer.out(), nullptr);
    if (FAILED(result)) {
        return Failure(result);
    }
    HeldVariant value;
    if (answer.get() == nullptr ||
        FAILED(result = answer->Get(L"ReturnValue", 0, value.get(), nullptr, nullptr))) {
        return Failure(answer.get() == nullptr ? kWbemFailed : result);
    }
    if (FAILED(VariantChangeType(value.get(), value.get(), 0, VT_UI4))) {
        return Failure(kWbemTypeMismatch);
    }
    return value.get()->ulVal;
}

} // namespace

ErrorCode Win32IpHelper::SetDnsServerSearchOrder(const char* adapterName,
                                                 const char16_t* const* servers,
                                                 std::uint32_t count) {
    // Only a GUID goes into the query: any other text could change its meaning.
    if (adapterName == nullptr || !platform::IsAdapterGuidName(adapterName) ||
        (count > 0 && servers == nullptr)) {
        return platform::error::kInvalidParameter;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        if (servers[i] == nullptr) {
            return platform::error::kInvalidParameter;
        }
    }
    return SetDnsServerSearchOrderThroughWmi(adapterName, servers, count);
}

} // namespace corvane::win32
