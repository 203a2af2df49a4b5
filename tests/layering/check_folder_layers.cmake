# Fails when a source of the core includes a header of a folder above its own.
# The folders form one line, each using only those below it:
#   app -> ui -> apply -> directory -> model/support -> platform
# model and support share one level and may use each other. Only the
# platform interface (the headers directly in platform/) is part of the line;
# the core never includes a platform implementation (platform/sim,
# platform/win32, platform/ldap), which in turn may use the whole core.
# Run as: cmake -DSOURCE_DIR=<the src folder> -P check_folder_layers.cmake
cmake_policy(VERSION 3.25)
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
if(NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "no such folder: ${SOURCE_DIR}")
endif()

set(level_app 4)
set(level_ui 3)
set(level_apply 2)
set(level_directory 1)
set(level_model 0)
set(level_support 0)
set(level_platform -1)

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
list(SORT sources)
set(faults "")
set(checked 0)
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" folder "${source}")
  if(folder STREQUAL "platform" AND source MATCHES "^platform/[^/]+/")
    continue() # an implementation, outside the line
  endif()
  if(NOT DEFINED level_${folder})
    list(APPEND faults "${source}: folder \"${folder}\" has no place in the line")
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" header "${line}")
    if(NOT header MATCHES "/")
      continue() # beside the source, in its own folder
    endif()
    string(REGEX MATCH "^[^/]+" target "${header}")
    if(target STREQUAL "platform" AND header MATCHES "^platform/[^/]+/")
      list(APPEND faults "${source} includes \"${header}\", a platform implementation")
    elseif(NOT DEFINED level_${target})
      list(APPEND faults "${source} includes \"${header}\", outside the core's folders")
    elseif(level_${target} GREATER level_${folder})
      list(APPEND faults "${source} includes \"${header}\", which runs back up from ${folder} to ${target}")
    endif()
  endforeach()
endforeach()

if(faults)
  # One line per fault, unwrapped, then the failure.
  foreach(fault IN LISTS faults)
    message(STATUS "${fault}")
  endforeach()
  list(LENGTH faults count)
  message(FATAL_ERROR "${count} includes against the folder line")
endif()
message(STATUS "${checked} sources follow the folder line")
