#include "platform/win32/services.h"
#include "platform/win32/wide_text.h"

namespace corvane::win32 {

namespace {

HANDLE ToHandle(platform::FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

} // namespace

// Environment ---------------------------------------------------------------

std::uint32_t Win32Environment::GetVariable(const char16_t* name, char16_t* buffer,
                                            std::uint32_t size) {
    return ::GetEnvironmentVariableW(Wide(name), Wide(buffer), buffer != nullptr ? size : 0);
}

bool Win32Environment::SetVariable(const char16_t* name, const char16_t* value) {
    return ::SetEnvironmentVariableW(Wide(name), Wide(value)) != FALSE;
}

std::uint32_t Win32Environment::ExpandStrings(const char16_t* source, char16_t* buffer,
                                              std::uint32_t size) {
    return ::ExpandEnvironmentStringsW(Wide(source), Wide(buffer), buffer != nullptr ? size : 0);
}

// Files ---------------------------------------------------------------------

platform::FileHandle Win32FileSystem::OpenForAppend(const char16_t* path) {
    if (path == nullptr) {
        return platform::kInvalidFile;
    }
    HANDLE file = ::CreateFileW(Wide(path), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_FLAG_WRITE_THROUGH, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return platform::kInvalidFile;
    }
    if (::SetFilePointer(file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        ::GetLastError() != NO_ERROR) {
        // Writing at the start would overwrite the earlier runs' lines.
        ::CloseHandle(file);
        return platform::kInvalidFile;
    }
    return reinterpret_cast<platform::FileHandle>(file);
}

bool Win32FileSystem::Write(platform::FileHandle file, const void* data, std::uint32_t size) {
    if (file == platform::kInvalidFile || (data == nullptr && size != 0)) {
        return false;
    }
    DWORD written = 0;
    return ::WriteFile(ToHandle(file), data, size, &written, nullptr) != FALSE && written == size;
}

bool Win32FileSystem::Close(platform::FileHandle file) {
    return file != platform::kInvalidFile && ::CloseHandle(ToHandle(file)) != FALSE;
}

bool Win32FileSystem::PathFileExists(const char16_t* path) {
    // What PathFileExistsW does, without loading shlwapi (and shcore behind
    // it) into every start for this one call: the attributes of a file or
    // folder, with no "insert a disk" box for an empty drive.
    if (path == nullptr) {
        return false;
    }
    DWORD previousMode = 0;
    const bool modeSet = ::SetThreadErrorMode(::GetThreadErrorMode() | SEM_FAILCRITICALERRORS,
                                              &previousMode) != FALSE;
    const DWORD attributes = ::GetFileAttributesW(Wide(path));
    if (modeSet) {
        ::SetThreadErrorMode(previousMode, nullptr);
    }
    return attributes != INVALID_FILE_ATTRIBUTES;
}

std::uint32_t Win32FileSystem::GetCurrentDirectory(std::uint32_t size, char16_t* buffer) {
    return ::GetCurrentDirectoryW(buffer != nullptr ? size : 0, Wide(buffer));
}

std::uint32_t Win32FileSystem::GetTempPath(std::uint32_t size, char16_t* buffer) {
    return ::GetTempPathW(buffer != nullptr ? size : 0, Wide(buffer));
}

std::uint32_t Win32FileSystem::GetSystemWindowsDirectory(char16_t* buffer, std::uint32_t size) {
    return ::GetSystemWindowsDirectoryW(Wide(buffer), buffer != nullptr ? size : 0);
}

std::uint32_t Win32FileSystem::GetModuleFileName(char16_t* buffer, std::uint32_t size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const DWORD length = ::GetModuleFileNameW(nullptr, Wide(buffer), size);
    // Windows XP leaves a cut name unterminated.
    buffer[length < size ? length : size - 1] = u'\0';
    return length;
}

bool Win32FileSystem::ReadFileBytes(const char16_t* path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (path == nullptr) {
        return false;
    }
    // Shared for writing too: the log may be open in this very process.
    HANDLE file = ::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = true;
    std::uint8_t chunk[16384];
    for (;;) {
        DWORD read = 0;
        if (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) == FALSE) {
            ok = false;
            break;
        }
        if (read == 0) {
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + read);
    }
    ::CloseHandle(file);
    if (!ok) {
        bytes.clear();
    }
    return ok;
}

// Private profile -----------------------------------------------------------

std::uint32_t Win32PrivateProfile::GetString(const char16_t* section, const char16_t* key,
                                             const char16_t* defaultValue, char16_t* buffer,
                                             std::uint32_t size, const char16_t* file) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    return ::GetPrivateProfileStringW(Wide(section), Wide(key), Wide(defaultValue), Wide(buffer),
                                      size, Wide(file));
}

std::uint32_t Win32PrivateProfile::GetSection(const char16_t* section, char16_t* buffer,
                                              std::uint32_t size, const char16_t* file) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    return ::GetPrivateProfileSectionW(Wide(section), Wide(buffer), size, Wide(file));
}

std::uint32_t Win32PrivateProfile::GetInt(const char16_t* section, const char16_t* key,
                                          std::int32_t defaultValue, const char16_t* file) {
    return ::GetPrivateProfileIntW(Wide(section), Wide(key), defaultValue, Wide(file));
}

} // namespace corvane::win32
