#include "platform/win32/system_library.h"

#include <string>
#include <utility>

namespace corvane::win32 {

bool RestrictDllSearchToSystemDirectory() {
    // Looked up rather than imported: an import of a function the system
    // lacks would stop the executable from starting at all.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr) {
        return false;
    }
    auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    return setDirectories != nullptr && setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

namespace {

bool HasPathPart(const wchar_t* name) {
    for (const wchar_t* c = name; *c != L'\0'; ++c) {
        if (*c == L'\\' || *c == L'/' || *c == L':') {
            return true;
        }
    }
    return false;
}

HMODULE LoadFromSystemDirectory(const wchar_t* fileName) {
    HMODULE module = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) {
        return module;
    }
    // Systems without the search flags refuse them as a bad parameter. The
    // full path of the system copy then does the same job; with an altered
    // search path its own dependencies come from its directory first.
    wchar_t directory[MAX_PATH];
    const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::wstring path(directory, length);
    path += L'\\';
    path += fileName;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

SystemLibrary::SystemLibrary(const wchar_t* fileName) {
    if (fileName == nullptr || *fileName == L'\0' || HasPathPart(fileName)) {
        loadError_ = platform::error::kInvalidParameter;
        return;
    }
    module_ = LoadFromSystemDirectory(fileName);
    if (module_ == nullptr) {
        loadError_ = GetLastError();
        if (loadError_ == platform::error::kSuccess) {
            loadError_ = ERROR_MOD_NOT_FOUND;
        }
    }
}

SystemLibrary::~SystemLibrary() {
    if (module_ != nullptr) {
        FreeLibrary(module_);
    }
}

SystemLibrary::SystemLibrary(SystemLibrary&& other) noexcept
    : module_(std::exchange(other.module_, nullptr)),
      loadError_(std::exchange(other.loadError_, ERROR_MOD_NOT_FOUND)) {}

SystemLibrary& SystemLibrary::operator=(SystemLibrary&& other) noexcept {
    if (this != &other) {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
        module_ = std::exchange(other.module_, nullptr);
        loadError_ = std::exchange(other.loadError_, ERROR_MOD_NOT_FOUND);
    }
    return *this;
}

void (*SystemLibrary::FindAddress(const char* exportName) const)() {
    if (module_ == nullptr || exportName == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void (*)()>(GetProcAddress(module_, exportName));
}

} // namespace corvane::win32
