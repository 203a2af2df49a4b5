# Lists the DLLs corvane.exe imports and fails unless each is one of the
# system's known DLLs, which the loader always takes from the system
# directory: a DLL of any other name placed beside the exe could be loaded
# in its place. Run as: cmake -DOBJDUMP=... -DEXE=... -P check_imports.cmake
cmake_policy(VERSION 3.25)
set(known
  advapi32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll
  oleaut32.dll rpcrt4.dll shell32.dll shlwapi.dll user32.dll ws2_32.dll)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
if(NOT lines)
  message(FATAL_ERROR "no imports found in ${EXE}")
endif()
set(bad "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "DLL Name: " "" name "${line}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" name)
  message(STATUS "imports ${name}")
  if(NOT name IN_LIST known)
    list(APPEND bad ${name})
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "corvane.exe imports DLLs outside the known set: ${bad}")
endif()
