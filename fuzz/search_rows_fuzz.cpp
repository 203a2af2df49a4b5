// The paged search's row walk against a directory that answers anything:
// any status for the search, the rows and the columns, columns without a
// text, texts of any content. Every path read is handed on in order, every
// column taken is freed once, the search is closed exactly when it ran.
#include "directory/computer_search.h"
#include "directory/search_filter.h"
#include "fuzz_input.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

using namespace corvane;
using corvane::fuzz::FuzzInput;
namespace hresult = platform::hresult;

namespace {

constexpr platform::DirectoryInterface kSearch = 0x5EA;
constexpr platform::DirectorySearchHandle kHandle = 0x4A1;

platform::HResult AnyStatus(FuzzInput& input) {
    switch (input.Byte() % 6) {
    case 0:
    case 1:
        return hresult::kOk;
    case 2:
        return hresult::kFail;
    case 3:
        return hresult::kColumnNotSet;
    case 4:
        return hresult::kFalse;
    default:
        return static_cast<platform::HResult>(input.Number());
    }
}

class AnsweringDirectory : public platform::DirectoryService {
public:
    explicit AnsweringDirectory(FuzzInput& input) : input_(input) {}

    platform::HResult CoInitialize() override { return hresult::kOk; }
    void CoUninitialize() override {}
    platform::HResult OpenObject(const char16_t*, const char16_t*, const char16_t*, std::uint32_t,
                                 platform::DirectoryInterfaceKind,
                                 platform::DirectoryInterface* object) override {
        *object = platform::kNoDirectoryInterface;
        return hresult::kFail;
    }
    platform::HResult QueryInterface(platform::DirectoryInterface, platform::DirectoryInterfaceKind,
                                     platform::DirectoryInterface* result) override {
        *result = platform::kNoDirectoryInterface;
        return hresult::kNoInterface;
    }
    std::uint32_t Release(platform::DirectoryInterface) override { return 0; }
    platform::HResult SetSearchPreference(platform::DirectoryInterface,
                                          const platform::DirectorySearchPreference*,
                                          std::uint32_t) override {
        return hresult::kOk;
    }
    platform::HResult ExecuteSearch(platform::DirectoryInterface search, const char16_t* filter,
                                    const char16_t* const* attributes, std::uint32_t count,
                                    platform::DirectorySearchHandle* handle) override {
        FUZZ_ASSERT(search == kSearch);
        filter_ = filter;
        FUZZ_ASSERT(count == 1 && std::u16string_view(attributes[0]) == u"ADsPath");
        executed = (input_.Byte() & 7) == 0 ? hresult::kFail : hresult::kOk;
        *handle = platform::hresult::Failed(executed) ? platform::kNoDirectorySearch : kHandle;
        return executed;
    }
    platform::HResult GetNextRow(platform::DirectoryInterface search,
                                 platform::DirectorySearchHandle handle) override {
        FUZZ_ASSERT(search == kSearch && handle == kHandle && !closed);
        if (input_.empty()) {
            return hresult::kNoMoreRows;
        }
        const std::uint8_t choice = input_.Byte();
        if (choice < 200) {
            return hresult::kOk;
        }
        return choice < 230 ? hresult::kNoMoreRows : AnyStatus(input_);
    }
    platform::HResult GetColumn(platform::DirectoryInterface search,
                                platform::DirectorySearchHandle handle, const char16_t* name,
                                platform::DirectorySearchColumn* column) override {
        FUZZ_ASSERT(search == kSearch && handle == kHandle && !closed);
        FUZZ_ASSERT(std::u16string_view(name) == u"ADsPath");
        const platform::HResult status = AnyStatus(input_);
        if (platform::hresult::Failed(status)) {
            return status;
        }
        // A column with a text, or without one (values that are no strings).
        const std::uintptr_t token = ++lastToken_;
        texts_[token] = input_.Wide(300);
        texts_[token].resize(texts_[token].find(u'\0') == std::u16string::npos
                                 ? texts_[token].size()
                                 : texts_[token].find(u'\0'));
        const bool withText = (input_.Byte() & 3) != 0;
        column->text = withText ? texts_[token].c_str() : nullptr;
        column->valueCount = withText ? 1 : 0;
        column->token = token;
        if (withText) {
            expectedRows.push_back(texts_[token]);
        }
        return status;
    }
    platform::HResult FreeColumn(platform::DirectoryInterface search,
                                 platform::DirectorySearchColumn* column) override {
        FUZZ_ASSERT(search == kSearch);
        // Only columns handed out and not freed yet.
        FUZZ_ASSERT(texts_.erase(column->token) == 1);
        return hresult::kOk;
    }
    platform::HResult CloseSearchHandle(platform::DirectoryInterface search,
                                        platform::DirectorySearchHandle handle) override {
        FUZZ_ASSERT(search == kSearch && handle == kHandle && !closed);
        closed = true;
        return hresult::kOk;
    }
    platform::HResult MoveHere(platform::DirectoryInterface, const char16_t*, const char16_t*,
                               platform::DirectoryInterface*) override {
        return hresult::kFail;
    }
    platform::HResult Create(platform::DirectoryInterface, const char*, const char16_t*,
                             platform::DirectoryInterface*) override {
        return hresult::kFail;
    }
    platform::HResult Delete(platform::DirectoryInterface, const char*, const char16_t*) override {
        return hresult::kFail;
    }
    platform::HResult SetInfo(platform::DirectoryInterface) override { return hresult::kFail; }

    std::size_t HeldColumns() const { return texts_.size(); }
    const std::u16string& Filter() const { return filter_; }

    platform::HResult executed = hresult::kOk;
    bool closed = false;
    std::vector<std::u16string> expectedRows;

private:
    FuzzInput& input_;
    std::map<std::uintptr_t, std::u16string> texts_;
    std::uintptr_t lastToken_ = 0;
    std::u16string filter_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    std::u16string name = input.Wide(40);
    AnsweringDirectory directory(input);
    std::vector<std::u16string> rows;
    const platform::HResult result = ForEachComputerPath(
        directory, kSearch, name, [&](std::u16string_view path) { rows.emplace_back(path); });

    FUZZ_ASSERT(directory.Filter() == ComputerSearchFilter(name));
    if (platform::hresult::Failed(directory.executed)) {
        FUZZ_ASSERT(result == directory.executed && rows.empty() && !directory.closed);
        return 0;
    }
    FUZZ_ASSERT(result == hresult::kOk);
    FUZZ_ASSERT(directory.closed);
    FUZZ_ASSERT(directory.HeldColumns() == 0);
    FUZZ_ASSERT(rows == directory.expectedRows);
    return 0;
}
