#include "platform/win32/user_interface.h"

#include "platform/win32/dialog_procedure.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <objbase.h>

namespace corvane::win32 {

namespace {

// The platform's domain tree browser (dsclient.h), declared here so that
// the directory-service headers are not needed for one call.
constexpr GUID kDomainTreeBrowserClass = {
    0x1698790A, 0xE2B4, 0x11D0, {0xB0, 0xB1, 0x00, 0xC0, 0x4F, 0xD8, 0xDC, 0xA6}};
constexpr GUID kBrowseDomainTreeInterface = {
    0x7CABCF1E, 0x78F5, 0x11D2, {0x96, 0x0C, 0x00, 0xC0, 0x4F, 0xA3, 0x1A, 0x86}};
constexpr DWORD kReturnInOutBound = 0x10; // DBDTF_RETURNINOUTBOUND

struct DomainTreeBrowser : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE BrowseTo(HWND parent, LPWSTR* targetPath, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDomains(void** domainTree, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE FreeDomains(void** domainTree) = 0;
    virtual HRESULT STDMETHODCALLTYPE FlushCachedDomains() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetComputer(LPCWSTR computer, LPCWSTR user,
                                                  LPCWSTR password) = 0;
};

LPCWSTR DialogResourceType() {
    return MAKEINTRESOURCEW(5); // RT_DIALOG, in its wide form
}

HWND Hwnd(platform::WindowId window) {
    return reinterpret_cast<HWND>(window);
}

} // namespace

Win32UserInterface::Win32UserInterface(HMODULE module)
    : module_(module != nullptr ? module : ::GetModuleHandleW(nullptr)), user32_(L"user32.dll") {
    user32_.Find("MessageBoxTimeoutW", messageBoxTimeout_);
}

int Win32UserInterface::RunModalDialog(std::uint16_t templateId, platform::LanguageId language,
                                       platform::WindowId owner, platform::DialogLogic& logic,
                                       std::intptr_t parameter) {
    HRSRC found =
        ::FindResourceExW(module_, DialogResourceType(), MAKEINTRESOURCEW(templateId), language);
    if (found == nullptr) {
        found = ::FindResourceW(module_, MAKEINTRESOURCEW(templateId), DialogResourceType());
    }
    HGLOBAL loaded = found != nullptr ? ::LoadResource(module_, found) : nullptr;
    const auto* dialogTemplate =
        loaded != nullptr ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
    if (dialogTemplate == nullptr) {
        return platform::kDialogFailed;
    }
    DialogContext context(logic, parameter, module_);
    DialogContext* previous = ExpectDialog(&context);
    const INT_PTR result = ::DialogBoxIndirectParamW(
        module_, dialogTemplate, Hwnd(owner), DialogProcedure, reinterpret_cast<LPARAM>(&context));
    ExpectDialog(previous);
    return result == -1 ? platform::kDialogFailed : static_cast<int>(result);
}

int Win32UserInterface::MessageBox(platform::WindowId owner, const char16_t* text,
                                   const char16_t* caption, std::uint32_t style) {
    return ::MessageBoxW(Hwnd(owner), Wide(text), Wide(caption), style);
}

bool Win32UserInterface::HasMessageBoxTimeout() {
    return messageBoxTimeout_ != nullptr;
}

int Win32UserInterface::MessageBoxTimeout(platform::WindowId owner, const char16_t* text,
                                          const char16_t* caption, std::uint32_t style,
                                          platform::LanguageId language, std::uint32_t timeoutMs) {
    if (messageBoxTimeout_ == nullptr) {
        return ::MessageBoxW(Hwnd(owner), Wide(text), Wide(caption), style);
    }
    return messageBoxTimeout_(Hwnd(owner), Wide(text), Wide(caption), style, language, timeoutMs);
}

platform::HResult Win32UserInterface::BrowseDomainTree(platform::WindowId owner,
                                                       std::u16string& domain) {
    const HRESULT initialised = ::CoInitialize(nullptr);
    DomainTreeBrowser* browser = nullptr;
    HRESULT status =
        ::CoCreateInstance(kDomainTreeBrowserClass, nullptr, CLSCTX_INPROC_SERVER,
                           kBrowseDomainTreeInterface, reinterpret_cast<void**>(&browser));
    if (SUCCEEDED(status) && browser != nullptr) {
        LPWSTR name = nullptr;
        status = browser->BrowseTo(Hwnd(owner), &name, kReturnInOutBound);
        if (status == S_OK && name != nullptr) {
            domain = Utf16(name);
        }
        if (name != nullptr) {
            ::CoTaskMemFree(name);
        }
        browser->Release();
    }
    if (SUCCEEDED(initialised)) {
        ::CoUninitialize();
    }
    return static_cast<platform::HResult>(status);
}

void Win32UserInterface::ShowWaitCursor(bool waiting) {
    ::SetCursor(::LoadCursorW(nullptr, waiting ? IDC_WAIT : IDC_ARROW));
}

} // namespace corvane::win32
