// The contract suite against the real platform (run under Wine).
#include "contract/contract_target.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

#include <atomic>
#include <string>

namespace corvane::contract {
namespace {

using win32::Utf16;
using win32::Wide;

std::u16string TempDirectory() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    std::u16string path;
    if (length > 0 && length <= MAX_PATH) {
        path.assign(Utf16(buffer), length);
    }
    while (!path.empty() && (path.back() == u'\\' || path.back() == u'/')) {
        path.pop_back();
    }
    return path;
}

// Deletes a folder with everything in it; the scratch folders hold only
// files and folders that the tests made.
void RemoveTree(const std::u16string& folder) {
    WIN32_FIND_DATAW entry;
    const std::u16string pattern = folder + u"\\*";
    HANDLE search = FindFirstFileW(Wide(pattern.c_str()), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::u16string name(Utf16(entry.cFileName));
            if (name == u"." || name == u"..") {
                continue;
            }
            const std::u16string path = folder + u"\\" + name;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(Wide(path.c_str()), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(Wide(path.c_str()));
            }
        } while (FindNextFileW(search, &entry) != FALSE);
        FindClose(search);
    }
    RemoveDirectoryW(Wide(folder.c_str()));
}

class Win32Target final : public ContractTarget {
public:
    // The thread locale is real per-thread state that outlives a test; it is
    // put back so that every test starts as the sim's fresh targets do.
    Win32Target() : threadLocale_(GetThreadLocale()) {}
    ~Win32Target() override {
        SetThreadLocale(threadLocale_);
        if (!scratch_.empty()) {
            RemoveTree(scratch_);
        }
    }

    platform::Platform& Os() override { return platform_.Os(); }

    std::u16string ScratchDirectory() override {
        if (scratch_.empty()) {
            static std::atomic<unsigned> counter{0};
            const std::u16string base = TempDirectory() + u"\\corvane-test-";
            for (int attempt = 0; attempt < 1000 && scratch_.empty(); ++attempt) {
                std::string unique = std::to_string(GetCurrentProcessId()) + "-" +
                                     std::to_string(counter.fetch_add(1));
                std::u16string candidate = base + std::u16string(unique.begin(), unique.end());
                if (CreateDirectoryW(Wide(candidate.c_str()), nullptr) != FALSE) {
                    scratch_ = candidate;
                }
            }
            if (scratch_.empty()) {
                ADD_FAILURE() << "no scratch folder could be created under %TEMP%";
            }
        }
        return scratch_;
    }

    void WriteTestFile(const std::u16string& path,
                       const std::vector<std::uint8_t>& bytes) override {
        HANDLE file = CreateFileW(Wide(path.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            ADD_FAILURE() << "cannot create the test file, error " << GetLastError();
            return;
        }
        DWORD written = 0;
        const auto size = static_cast<DWORD>(bytes.size());
        if (WriteFile(file, bytes.data(), size, &written, nullptr) == FALSE || written != size) {
            ADD_FAILURE() << "cannot write the test file, error " << GetLastError();
        }
        CloseHandle(file);
    }

    // Wine aborts in the join, unjoin, rename and joinable-OU calls, and
    // its domain-controller look-up never succeeds.
    bool HasDomainOperations() const override { return false; }

    void SetUserLocale(platform::LocaleId locale) override {
        platform_.Locale().SetUserLocaleOverride(locale);
    }

private:
    win32::Win32Platform platform_;
    LCID threadLocale_;
    std::u16string scratch_;
};

std::unique_ptr<ContractTarget> MakeWin32Target() {
    return std::make_unique<Win32Target>();
}

} // namespace

CORVANE_CONTRACT_TARGET(Win32, MakeWin32Target);

} // namespace corvane::contract
