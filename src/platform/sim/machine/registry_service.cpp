// The registry with Win32 result codes.
#include "platform/sim/machine/services.h"
#include "platform/sim/text.h"

#include <algorithm>
#include <cstring>

namespace corvane::sim {

namespace {

constexpr platform::ErrorCode kBadPathname = 161;

std::u16string JoinPath(std::u16string_view first, std::u16string_view second) {
    if (first.empty()) {
        return std::u16string(second);
    }
    if (second.empty()) {
        return std::u16string(first);
    }
    return std::u16string(first) + u"\\" + std::u16string(second);
}

// "HKLM\\SOFTWARE\\..." for the journal and for failure subjects.
std::u16string QualifiedPath(platform::RegistryRoot root, std::u16string_view path) {
    return JoinPath(Widen(RootName(root)), path);
}

// The path with the names as stored, for the journal.
std::u16string StoredPath(State& state, platform::RegistryRoot root, std::u16string_view path) {
    std::vector<std::u16string> parts;
    if (!State::SplitKeyPath(path, parts)) {
        return std::u16string(path);
    }
    std::u16string stored;
    RegistryNode* node = &state.Root(root);
    for (const std::u16string& part : parts) {
        RegistryNode* next = nullptr;
        if (node != nullptr) {
            const auto found = node->children.find(Fold(part));
            if (found != node->children.end()) {
                next = found->second.get();
            }
        }
        stored = JoinPath(stored, next != nullptr ? std::u16string_view(next->name) : part);
        node = next;
    }
    return stored;
}

} // namespace

platform::ErrorCode SimRegistry::Open(platform::RegistryRoot root, const char16_t* subKey,
                                      platform::RegistryKey* key, bool create) {
    std::lock_guard lock(state_.mutex);
    const char* operation = create ? "RegCreateKey" : "RegOpenKey";
    const std::u16string_view path = View(subKey);
    const std::u16string qualified = QualifiedPath(root, StoredPath(state_, root, path));
    auto finish = [&](platform::ErrorCode code, bool injected = false) {
        if (create || injected) {
            state_.Record(operation, {JournalText(qualified)}, code, injected);
        }
        return code;
    };
    if (auto code = state_.Fail(operation, QualifiedPath(root, path))) {
        return finish(*code, true);
    }
    if (key == nullptr) {
        return finish(platform::error::kInvalidParameter);
    }
    std::vector<std::u16string> parts;
    if (!State::SplitKeyPath(path, parts)) {
        return finish(kBadPathname);
    }
    RegistryNode* node = state_.FindKey(root, path);
    if (node == nullptr) {
        if (!create) {
            return finish(platform::error::kFileNotFound);
        }
        // Creating a subkey needs write access to the deepest existing key.
        RegistryNode* existing = &state_.Root(root);
        for (const std::u16string& part : parts) {
            const auto it = existing->children.find(Fold(part));
            if (it == existing->children.end()) {
                break;
            }
            existing = it->second.get();
        }
        if (existing->access != RegistryAccess::Full) {
            return finish(platform::error::kAccessDenied);
        }
        node = state_.CreateKeyPath(root, path);
    } else if (node->access == RegistryAccess::Denied) {
        return finish(platform::error::kAccessDenied);
    }
    const platform::RegistryKey handle = state_.nextKey;
    state_.nextKey += 4;
    state_.openKeys.emplace(handle, OpenRegistryKey{root, node, StoredPath(state_, root, path)});
    *key = handle;
    return finish(platform::error::kSuccess);
}

platform::ErrorCode SimRegistry::OpenKey(platform::RegistryRoot root, const char16_t* subKey,
                                         platform::RegistryKey* key) {
    return Open(root, subKey, key, false);
}

platform::ErrorCode SimRegistry::CreateKey(platform::RegistryRoot root, const char16_t* subKey,
                                           platform::RegistryKey* key) {
    return Open(root, subKey, key, true);
}

platform::ErrorCode SimRegistry::QueryValue(platform::RegistryKey key, const char16_t* name,
                                            std::uint32_t* type, std::uint8_t* data,
                                            std::uint32_t* size) {
    std::lock_guard lock(state_.mutex);
    const auto it = state_.openKeys.find(key);
    if (it == state_.openKeys.end()) {
        return platform::error::kInvalidHandle;
    }
    const std::u16string qualified = QualifiedPath(it->second.root, it->second.path);
    if (auto code = state_.Fail("RegQueryValue", qualified)) {
        state_.Record("RegQueryValue", {JournalText(qualified), JournalText(View(name))}, *code,
                      true);
        return *code;
    }
    if (data != nullptr && size == nullptr) {
        return platform::error::kInvalidParameter;
    }
    const RegistryValueData* value = it->second.node->FindValue(View(name));
    if (value == nullptr) {
        return platform::error::kFileNotFound;
    }
    const auto length = static_cast<std::uint32_t>(value->data.size());
    if (type != nullptr) {
        *type = value->type;
    }
    if (data == nullptr) {
        if (size != nullptr) {
            *size = length;
        }
        return platform::error::kSuccess;
    }
    if (*size < length) {
        *size = length;
        return platform::error::kMoreData;
    }
    if (length != 0) {
        std::memcpy(data, value->data.data(), length);
    }
    *size = length;
    return platform::error::kSuccess;
}

platform::ErrorCode SimRegistry::SetValue(platform::RegistryKey key, const char16_t* name,
                                          std::uint32_t type, const std::uint8_t* data,
                                          std::uint32_t size) {
    std::lock_guard lock(state_.mutex);
    const auto it = state_.openKeys.find(key);
    if (it == state_.openKeys.end()) {
        return platform::error::kInvalidHandle;
    }
    const std::u16string qualified = QualifiedPath(it->second.root, it->second.path);
    std::vector<std::uint8_t> bytes;
    if (data != nullptr) {
        bytes.assign(data, data + size);
    }
    std::vector<std::string> arguments = {JournalText(qualified), JournalText(View(name)),
                                          RegistryTypeName(type), RegistryDataText(type, bytes)};
    if (auto code = state_.Fail("RegSetValue", qualified)) {
        state_.Record("RegSetValue", std::move(arguments), *code, true);
        return *code;
    }
    platform::ErrorCode result = platform::error::kSuccess;
    if (data == nullptr && size != 0) {
        result = platform::error::kInvalidParameter;
    } else if (it->second.node->access != RegistryAccess::Full) {
        result = platform::error::kAccessDenied;
    } else if (RegistryValueData* value = it->second.node->FindValue(View(name))) {
        value->type = type;
        value->data = std::move(bytes);
    } else {
        it->second.node->values.push_back(
            RegistryValueData{std::u16string(View(name)), type, std::move(bytes)});
    }
    state_.Record("RegSetValue", std::move(arguments), result);
    return result;
}

platform::ErrorCode SimRegistry::DeleteValue(platform::RegistryKey key, const char16_t* name) {
    std::lock_guard lock(state_.mutex);
    const auto it = state_.openKeys.find(key);
    if (it == state_.openKeys.end()) {
        return platform::error::kInvalidHandle;
    }
    const std::u16string qualified = QualifiedPath(it->second.root, it->second.path);
    std::vector<std::string> arguments = {JournalText(qualified), JournalText(View(name))};
    if (auto code = state_.Fail("RegDeleteValue", qualified)) {
        state_.Record("RegDeleteValue", std::move(arguments), *code, true);
        return *code;
    }
    platform::ErrorCode result = platform::error::kSuccess;
    std::vector<RegistryValueData>& values = it->second.node->values;
    if (it->second.node->access != RegistryAccess::Full) {
        result = platform::error::kAccessDenied;
    } else {
        const std::u16string_view wanted = View(name);
        const auto found = std::find_if(values.begin(), values.end(), [&](const auto& value) {
            return EqualsNoCase(value.name, wanted);
        });
        if (found == values.end()) {
            result = platform::error::kFileNotFound;
        } else {
            values.erase(found);
        }
    }
    state_.Record("RegDeleteValue", std::move(arguments), result);
    return result;
}

platform::ErrorCode SimRegistry::CloseKey(platform::RegistryKey key) {
    std::lock_guard lock(state_.mutex);
    const auto it = state_.openKeys.find(key);
    if (it == state_.openKeys.end()) {
        return platform::error::kInvalidHandle;
    }
    if (auto code = state_.Fail("RegCloseKey")) {
        state_.Record("RegCloseKey", {JournalText(QualifiedPath(it->second.root, it->second.path))},
                      *code, true);
        return *code;
    }
    state_.openKeys.erase(it);
    return platform::error::kSuccess;
}

} // namespace corvane::sim
