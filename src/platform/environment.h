#pragma once

#include <cstdint>

namespace corvane::platform {

// Process environment variables, with the Win32 size conventions.
class Environment {
public:
    virtual ~Environment() = default;

    // GetEnvironmentVariableW: the length copied (without the terminator);
    // when the buffer is too small, the size needed including the terminator
    // and nothing usable in the buffer; 0 when the variable is not set.
    virtual std::uint32_t GetVariable(const char16_t* name, char16_t* buffer,
                                      std::uint32_t size) = 0;
    // SetEnvironmentVariableW; a null value removes the variable.
    virtual bool SetVariable(const char16_t* name, const char16_t* value) = 0;
    // ExpandEnvironmentStringsW: the size of the expansion including the
    // terminator; when that exceeds `size`, the buffer holds nothing usable.
    // References to unset variables stay as written ("%NAME%").
    virtual std::uint32_t ExpandStrings(const char16_t* source, char16_t* buffer,
                                        std::uint32_t size) = 0;
};

} // namespace corvane::platform
