// Files: the log's append handle, path look-ups and whole-file reads.
#include "platform/sim/machine/services.h"
#include "platform/sim/text.h"

#include <cstring>

namespace corvane::sim {

namespace {

constexpr platform::ErrorCode kPathNotFound = 3;
constexpr platform::ErrorCode kInvalidName = 123;

} // namespace

platform::FileHandle SimFileSystem::OpenForAppend(const char16_t* path) {
    std::lock_guard lock(state_.mutex);
    const std::u16string full = state_.ResolvePath(View(path));
    const std::vector<std::string> arguments = {full.empty() ? JournalText(path)
                                                             : JournalText(full)};
    if (auto code = state_.Fail("CreateFile", full)) {
        state_.Record("CreateFile", arguments, *code, true);
        return platform::kInvalidFile;
    }
    auto refuse = [&](platform::ErrorCode code) {
        state_.Record("CreateFile", arguments, code);
        return platform::kInvalidFile;
    };
    if (full.empty() || full.back() == u'\\') {
        return refuse(full.empty() ? kPathNotFound : kInvalidName);
    }
    const std::u16string key = Fold(full);
    if (state_.directories.count(key) != 0) {
        return refuse(platform::error::kAccessDenied); // a directory is no file
    }
    FileEntry* file = state_.FindFile(full);
    if (file == nullptr) {
        const auto parent = state_.directories.find(Fold(State::ParentPath(full)));
        if (parent == state_.directories.end()) {
            return refuse(kPathNotFound);
        }
        if (parent->second.locked) {
            return refuse(platform::error::kAccessDenied);
        }
    } else {
        if (file->locked) {
            return refuse(platform::error::kAccessDenied);
        }
        // The log opens for writing and shares reading only: any other
        // handle that writes (every handle here does) excludes it.
        for (const auto& [handle, open] : state_.openFiles) {
            if (open.key == key) {
                return refuse(platform::error::kSharingViolation);
            }
        }
    }
    if (file == nullptr) {
        file = &state_.files.emplace(key, FileEntry{full, {}, false}).first->second;
    }
    const platform::FileHandle handle = state_.nextFile;
    state_.nextFile += 4;
    state_.openFiles.emplace(handle, OpenFile{key, file->bytes.size()});
    state_.Record("CreateFile", arguments, platform::error::kSuccess);
    return handle;
}

bool SimFileSystem::Write(platform::FileHandle file, const void* data, std::uint32_t size) {
    std::lock_guard lock(state_.mutex);
    const auto it = state_.openFiles.find(file);
    if (it == state_.openFiles.end() || (data == nullptr && size != 0)) {
        return false;
    }
    const auto entry = state_.files.find(it->second.key);
    if (entry == state_.files.end()) {
        return false;
    }
    if (auto code = state_.Fail("WriteFile", entry->second.path)) {
        state_.Record("WriteFile", {JournalText(entry->second.path), Decimal(size)}, *code, true);
        return false;
    }
    std::vector<std::uint8_t>& bytes = entry->second.bytes;
    const std::size_t position = it->second.position;
    if (bytes.size() < position + size) {
        bytes.resize(position + size);
    }
    if (size != 0) {
        std::memcpy(bytes.data() + position, data, size);
    }
    it->second.position = position + size;
    return true;
}

bool SimFileSystem::Close(platform::FileHandle file) {
    std::lock_guard lock(state_.mutex);
    const auto it = state_.openFiles.find(file);
    if (it == state_.openFiles.end()) {
        return false; // ERROR_INVALID_HANDLE
    }
    const auto entry = state_.files.find(it->second.key);
    const std::u16string path = entry == state_.files.end() ? it->second.key : entry->second.path;
    state_.openFiles.erase(it);
    state_.Record("CloseHandle", {JournalText(path)}, platform::error::kSuccess);
    return true;
}

bool SimFileSystem::PathFileExists(const char16_t* path) {
    std::lock_guard lock(state_.mutex);
    const std::u16string full = state_.ResolvePath(View(path));
    if (auto code = state_.Fail("PathFileExists", full)) {
        state_.Record("PathFileExists", {JournalText(full)}, *code, true);
        return false;
    }
    if (full.empty()) {
        return false;
    }
    const std::u16string key = Fold(full);
    return state_.files.count(key) != 0 || state_.directories.count(key) != 0;
}

std::uint32_t SimFileSystem::GetCurrentDirectory(std::uint32_t size, char16_t* buffer) {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("GetCurrentDirectory")) {
        state_.Record("GetCurrentDirectory", {}, *code, true);
        return 0;
    }
    const std::u16string& directory = state_.currentDirectory;
    const auto length = static_cast<std::uint32_t>(directory.size());
    if (buffer == nullptr || size <= length) {
        return length + 1;
    }
    directory.copy(buffer, directory.size());
    buffer[directory.size()] = u'\0';
    return length;
}

namespace {

// Copies `text` with the Win32 size conventions of the directory queries.
std::uint32_t CopyDirectory(const std::u16string& text, std::uint32_t size, char16_t* buffer) {
    const auto length = static_cast<std::uint32_t>(text.size());
    if (buffer == nullptr || size <= length) {
        return length + 1;
    }
    text.copy(buffer, text.size());
    buffer[text.size()] = u'\0';
    return length;
}

} // namespace

std::uint32_t SimFileSystem::GetTempPath(std::uint32_t size, char16_t* buffer) {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("GetTempPath")) {
        state_.Record("GetTempPath", {}, *code, true);
        return 0;
    }
    std::u16string path = state_.windowsDirectory;
    for (const char16_t* name : {u"TMP", u"TEMP", u"USERPROFILE"}) {
        const auto it = state_.environment.find(Fold(name));
        if (it != state_.environment.end() && !it->second.second.empty()) {
            path = it->second.second;
            break;
        }
    }
    if (path.back() != u'\\') {
        path.push_back(u'\\');
    }
    return CopyDirectory(path, size, buffer);
}

std::uint32_t SimFileSystem::GetSystemWindowsDirectory(char16_t* buffer, std::uint32_t size) {
    std::lock_guard lock(state_.mutex);
    return CopyDirectory(state_.windowsDirectory, size, buffer);
}

std::uint32_t SimFileSystem::GetModuleFileName(char16_t* buffer, std::uint32_t size) {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("GetModuleFileName")) {
        state_.Record("GetModuleFileName", {}, *code, true);
        return 0;
    }
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const std::u16string& path = state_.modulePath;
    if (path.size() < size) {
        path.copy(buffer, path.size());
        buffer[path.size()] = u'\0';
        return static_cast<std::uint32_t>(path.size());
    }
    // Too small: cut to size - 1, terminated, and the size returned
    // (ERROR_INSUFFICIENT_BUFFER), as Windows Vista and later do.
    path.copy(buffer, size - 1);
    buffer[size - 1] = u'\0';
    return size;
}

bool SimFileSystem::ReadFileBytes(const char16_t* path, std::vector<std::uint8_t>& bytes) {
    std::lock_guard lock(state_.mutex);
    const FileEntry* file = state_.FindFile(state_.ResolvePath(View(path)));
    if (file == nullptr) {
        return false;
    }
    bytes = file->bytes;
    return true;
}

} // namespace corvane::sim
