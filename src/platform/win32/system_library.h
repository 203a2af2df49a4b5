// Run-time loading of system DLLs from the system directory only.
//
// The program runs elevated, often straight from a deployment share: a DLL
// planted beside the executable or in the working directory must never be
// loaded in place of a system one. The executable therefore imports only DLLs
// of the KnownDLLs set (which the loader always takes from System32) and
// loads every other one through SystemLibrary.
#pragma once

#include "platform/types.h"
#include "platform/win32/windows_api.h"

namespace corvane::win32 {

// Makes System32 the only directory searched by LoadLibrary and by the
// loader's on-demand loads (delay loads, forwarders) for the whole process.
// Call it first thing in every entry point. Returns false where the system
// lacks SetDefaultDllDirectories (Windows 7 without KB2533623).
bool RestrictDllSearchToSystemDirectory();

class SystemLibrary {
public:
    // Loads `fileName` (a bare file name such as L"netapi32.dll") from the
    // system directory. A name with a path is refused.
    explicit SystemLibrary(const wchar_t* fileName);
    ~SystemLibrary();
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;
    SystemLibrary(SystemLibrary&& other) noexcept;
    SystemLibrary& operator=(SystemLibrary&& other) noexcept;

    bool IsLoaded() const { return module_ != nullptr; }
    // 0 when loaded; otherwise the loader's code (126 when the DLL is not in
    // the system directory, 87 for a name with a path).
    platform::ErrorCode LoadError() const { return loadError_; }
    HMODULE Module() const { return module_; }

    // Looks up an export by its narrow name and types it. 127 (procedure not
    // found), with a null function, when the export or the whole DLL is
    // missing.
    template <typename Function>
    platform::ErrorCode Find(const char* exportName, Function*& function) const {
        void (*address)() = FindAddress(exportName);
        // void (*)() converts to any function type without a cast warning.
        function = reinterpret_cast<Function*>(address);
        return address != nullptr ? platform::error::kSuccess : platform::error::kProcNotFound;
    }

private:
    void (*FindAddress(const char* exportName) const)();

    HMODULE module_ = nullptr;
    platform::ErrorCode loadError_ = platform::error::kSuccess;
};

} // namespace corvane::win32
