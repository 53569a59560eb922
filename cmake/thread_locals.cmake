# Refuses a thread_local with a destructor in the Windows edition: mingw's emulated TLS frees
# a thread's thread_local storage before the destructors of its objects run, so such an object
# crashes the end of every thread that used it (GCC PR 80816). Every thread_local in the
# sources the Windows build compiles, and in their folders' headers, must be one listed here,
# each seen to be trivially destructible. Per-thread state that needs clean-up at thread end
# sits behind a thread key instead (runtime/threads/locks.cpp).
#
# An entry is the file and its declaration as written, without the semicolon (CMake's list
# separator).
set(VARDELLE_TRIVIAL_THREAD_LOCALS
  "support/call_error.cpp: thread_local int lastCode = 0"
  "tests/app/globalping_client_test.cpp: static inline thread_local Clock::time_point arrival")

# The thread_local declarations of one file that are not in the list above.
function(vardelle_unlisted_thread_locals path result)
  file(READ "${path}" text)
  string(REPLACE ";" "" text "${text}")
  string(REGEX MATCHALL "[^\n]*thread_local[^\n]*" lines "${text}")
  file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${path}")
  set(unlisted)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "//.*" "" code "${line}")
    string(STRIP "${code}" code)
    if(code MATCHES "(^|[^A-Za-z0-9_])thread_local([^A-Za-z0-9_]|$)"
       AND NOT "${relative}: ${code}" IN_LIST VARDELLE_TRIVIAL_THREAD_LOCALS)
      list(APPEND unlisted "${relative}: ${code}")
    endif()
  endforeach()
  set(${result} "${unlisted}" PARENT_SCOPE)
endfunction()

# Checks the sources of every target defined in the TARGET_FOLDERS, and every header under
# the HEADER_FOLDERS outside the Linux-only folders.
function(vardelle_check_thread_locals)
  cmake_parse_arguments(CHECK "" "" "TARGET_FOLDERS;HEADER_FOLDERS" ${ARGN})
  set(files)
  foreach(folder IN LISTS CHECK_TARGET_FOLDERS)
    get_property(targets DIRECTORY "${folder}" PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(sources ${target} SOURCES)
      get_target_property(target_folder ${target} SOURCE_DIR)
      foreach(source IN LISTS sources)
        get_filename_component(path "${source}" ABSOLUTE BASE_DIR "${target_folder}")
        if(EXISTS "${path}")
          list(APPEND files "${path}")
        endif()
      endforeach()
    endforeach()
  endforeach()
  foreach(folder IN LISTS CHECK_HEADER_FOLDERS)
    file(GLOB_RECURSE headers "${PROJECT_SOURCE_DIR}/${folder}/*.h")
    list(FILTER headers EXCLUDE REGEX "/linux/|/ui/qt/")
    list(APPEND files ${headers})
  endforeach()
  list(REMOVE_DUPLICATES files)

  set(refused)
  foreach(path IN LISTS files)
    vardelle_unlisted_thread_locals("${path}" unlisted)
    list(APPEND refused ${unlisted})
  endforeach()
  if(refused)
    list(JOIN refused "\n  " lines)
    message(FATAL_ERROR "thread_local not known to be trivially destructible (see "
                        "cmake/thread_locals.cmake):\n  ${lines}")
  endif()
endfunction()
