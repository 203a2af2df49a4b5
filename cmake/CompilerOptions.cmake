# Warnings are errors in every build; the sanitizer preset adds ASan and UBSan.
add_library(corvane_options INTERFACE)
target_compile_options(corvane_options INTERFACE -Wall -Wextra -Wpedantic -Werror -Wshadow
                                                 -Wconversion -Wsign-conversion)
if(WIN32)
  # Wide Win32 API everywhere; no min/max macros; Windows 7 API level.
  target_compile_definitions(corvane_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                                                       NOMINMAX _WIN32_WINNT=0x0601)
  target_link_options(corvane_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()
if(CORVANE_SANITIZE)
  target_compile_options(corvane_options INTERFACE -fsanitize=address,undefined
                                                   -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(corvane_options INTERFACE -fsanitize=address,undefined)
endif()
if(CORVANE_FUZZ)
  # Coverage for libFuzzer in every library; the fuzz targets add the driver.
  target_compile_options(corvane_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                   -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(corvane_options INTERFACE -fsanitize=address,undefined)
  # The sim's stage gives no coverage feedback (the list says which sources).
  target_compile_options(corvane_options INTERFACE
    -fsanitize-coverage-ignorelist=${CMAKE_SOURCE_DIR}/fuzz/coverage_ignorelist.txt)
endif()
if(WIN32)
  # Every Windows object is built for size, each function and datum in a
  # section of its own, so that the linker can drop what nothing uses.
  target_compile_options(corvane_options INTERFACE -Os -ffunction-sections -fdata-sections)
endif()

# A shipped executable: unused sections dropped and no symbols in the file.
# The map file beside it (<target>.map in the build folder) keeps every
# symbol's address for reading a crash address.
function(corvane_small_executable target)
  target_link_options(${target} PRIVATE -Wl,--gc-sections -s
                      -Wl,-Map=${CMAKE_BINARY_DIR}/${target}.map)
endfunction()

# The shipped code throws nothing and catches nothing: on Windows it is built
# without exception support, which spares the unwinding tables and landing
# pads of every function. An allocation that fails still ends the program, as
# it would with nothing to catch it. The test code keeps exceptions.
function(corvane_without_exceptions target)
  if(WIN32)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>)
  endif()
endfunction()
