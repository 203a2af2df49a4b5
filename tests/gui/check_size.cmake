# Fails when corvane.exe is larger than its budget. The exe is copied to
# deployment shares and USB sticks and started on every new machine: its size
# is its cost. Run as: cmake -DEXE=... -DBUDGET=<bytes> -P check_size.cmake
cmake_policy(VERSION 3.25)
if(NOT EXISTS "${EXE}")
  message(FATAL_ERROR "no such file: ${EXE}")
endif()
file(SIZE "${EXE}" size)
math(EXPR room "${BUDGET} - ${size}")
if(size GREATER BUDGET)
  message(FATAL_ERROR "${EXE} is ${size} bytes, over its budget of ${BUDGET} bytes")
endif()
message(STATUS "${EXE}: ${size} bytes, ${room} bytes under the budget of ${BUDGET}")
