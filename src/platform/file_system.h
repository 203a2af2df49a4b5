#pragma once

#include "platform/types.h"

#include <cstdint>
#include <vector>

namespace corvane::platform {

// The files the program touches: its log, and the look-ups of its own path,
// the working directory and the existence of a file.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens a file for appending as the log does: read and write access,
    // shared for reading only, opened if it exists and created if not,
    // written through to the disk, positioned at its end. kInvalidFile when
    // it cannot be opened (missing directory, no access, or another handle
    // open for writing).
    virtual FileHandle OpenForAppend(const char16_t* path) = 0;
    // One WriteFile call: true when every byte was written.
    virtual bool Write(FileHandle file, const void* data, std::uint32_t size) = 0;
    virtual bool Close(FileHandle file) = 0;

    // PathFileExistsW.
    virtual bool PathFileExists(const char16_t* path) = 0;
    // GetCurrentDirectoryW: the length written without the terminator, or the
    // size needed including it when the buffer is too small, 0 on failure.
    virtual std::uint32_t GetCurrentDirectory(std::uint32_t size, char16_t* buffer) = 0;
    // GetTempPathW: the first of TMP, TEMP, USERPROFILE and the Windows
    // directory that is set, ending in a backslash, not checked to exist;
    // the length written without the terminator, or the size needed
    // including it when the buffer is too small, 0 on failure.
    virtual std::uint32_t GetTempPath(std::uint32_t size, char16_t* buffer) = 0;
    // GetSystemWindowsDirectoryW, the shared Windows folder: the same size
    // conventions as GetTempPath.
    virtual std::uint32_t GetSystemWindowsDirectory(char16_t* buffer, std::uint32_t size) = 0;
    // GetModuleFileNameW for the process's executable: the length written,
    // cut to size - 1 and terminated when the buffer is too small.
    virtual std::uint32_t GetModuleFileName(char16_t* buffer, std::uint32_t size) = 0;

    // Reads a whole file, for reading only. The program reads the fleet's
    // inventory this way; tests and the headless runner use it to look at
    // what the program wrote.
    virtual bool ReadFileBytes(const char16_t* path, std::vector<std::uint8_t>& bytes) = 0;
};

} // namespace corvane::platform
