// The stand-in IP Helper of the runs that need adapters under Wine, whose
// own SetAdapterIpAddress ends the process (docs/wine.md).
#pragma once

#include "program_under_test.h"

#include <string>
#include <vector>
#include <windows.h>

namespace corvane::gui {

// Puts the stand-in IP Helper in place of the prefix's own file for the
// test's duration, and has Wine load that file, not its built-in copy, into
// corvane.exe (the per-program override of the registry).
class StandInIpHelper {
    static constexpr const wchar_t* kOverrideKey =
        L"Software\\Wine\\AppDefaults\\corvane.exe\\DllOverrides";

public:
    StandInIpHelper() {
        wchar_t system[MAX_PATH] = {};
        GetSystemDirectoryW(system, MAX_PATH);
        target_ = std::wstring(system) + L"\\iphlpapi.dll";
        saved_ = target_ + L".corvane-saved";
        record_ = TestExeFolder() + L"\\ip-helper-calls.txt";
        DeleteFileW(record_.c_str());
        installed_ = MoveFileExW(target_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING) &&
                     CopyFileW((TestExeFolder() + L"\\corvane_ip_helper_stub.dll").c_str(),
                               target_.c_str(), FALSE);
        // Only corvane.exe prefers the file to Wine's built-in copy.
        HKEY key = nullptr;
        installed_ =
            installed_ && RegCreateKeyExW(HKEY_CURRENT_USER, kOverrideKey, 0, nullptr, 0,
                                          KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS;
        if (key != nullptr) {
            const wchar_t native[] = L"native";
            installed_ = installed_ && RegSetValueExW(key, L"iphlpapi", 0, REG_SZ,
                                                      reinterpret_cast<const BYTE*>(native),
                                                      sizeof native) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    ~StandInIpHelper() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kOverrideKey, 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueW(key, L"iphlpapi");
            RegCloseKey(key);
        }
        DeleteFileW(target_.c_str());
        MoveFileExW(saved_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    StandInIpHelper(const StandInIpHelper&) = delete;
    StandInIpHelper& operator=(const StandInIpHelper&) = delete;

    bool Installed() const { return installed_; }
    std::vector<std::wstring> Environment() const {
        return {L"CORVANE_IP_HELPER_STUB_LOG=" + record_};
    }
    // The calls recorded so far, one per line.
    std::vector<std::string> Calls() const {
        std::vector<std::string> calls;
        HANDLE file = CreateFileW(record_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return calls;
        }
        std::string text(4096, '\0');
        DWORD read = 0;
        ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
        CloseHandle(file);
        text.resize(read);
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1) {
            calls.push_back(text.substr(start, end - start));
        }
        return calls;
    }

private:
    std::wstring target_;
    std::wstring saved_;
    std::wstring record_;
    bool installed_ = false;
};

} // namespace corvane::gui
