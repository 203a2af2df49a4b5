#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/win32/system_library.h"
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    corvane::win32::RestrictDllSearchToSystemDirectory();
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
