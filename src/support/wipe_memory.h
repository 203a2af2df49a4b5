// Overwrites secrets (passwords) with zeros in a way the compiler may not
// drop as a dead store: byte by byte through a volatile pointer.
#pragma once

#include <cstddef>

namespace corvane {

inline void* WipeMemory(void* block, std::size_t bytes) {
    volatile unsigned char* p = static_cast<volatile unsigned char*>(block);
    for (std::size_t i = 0; i < bytes; ++i) {
        p[i] = 0;
    }
    return block;
}

} // namespace corvane
