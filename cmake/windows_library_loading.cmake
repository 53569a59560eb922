# Where the Windows programs' DLLs come from. The loader looks for an import that is no
# KnownDLL in the program's own folder first, so whoever can write there (a download folder,
# an unpacked zip) could have a winhttp.dll of their own run inside the program. Two parts
# keep every DLL in the system folder:
# - The imports that are no KnownDLL are delay-loaded: each is loaded at the first call of
#   one of its functions, by the delay-load helper's LoadLibrary, not by the loader at start.
# - vardelle_system_library_search, linked into each program, restricts every load by bare
#   name to the system folder before main runs (runtime/windows/system_library_search.cpp).
# The KnownDLLs (kernel32, user32, gdi32, advapi32, shell32, shlwapi, ole32, ws2_32, msvcrt)
# always come from the system folder and stay ordinary imports.
#
# The delay-import libraries take the plain libraries' names as imported targets, so every
# target_link_libraries(... winhttp ...) links them; tests/windows_library_planting_test.sh
# checks that the programs import nothing else. Each is made at configure time by dlltool
# from a module definition listing every function of the mingw import library. dlltool's
# delay-load thunk (binutils 2.40) keeps the integer argument registers but not xmm0-xmm3,
# which none of these DLLs' functions take arguments in.
set(VARDELLE_DELAY_LOADED_DLLS comctl32 comdlg32 crypt32 iphlpapi msimg32 uxtheme winhttp)

set(delay_libraries ${CMAKE_BINARY_DIR}/delay_load)
file(MAKE_DIRECTORY ${delay_libraries})
foreach(dll IN LISTS VARDELLE_DELAY_LOADED_DLLS)
  find_library(VARDELLE_IMPORT_LIBRARY_${dll} NAMES ${dll} REQUIRED)
  set(import_library ${VARDELLE_IMPORT_LIBRARY_${dll}})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${import_library})
  execute_process(COMMAND ${CMAKE_NM} ${import_library} OUTPUT_VARIABLE symbols
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL " I __imp_[^\n]+" imports "${symbols}")
  list(TRANSFORM imports REPLACE " I __imp_" "")
  list(REMOVE_DUPLICATES imports)
  list(SORT imports)
  if(NOT imports)
    message(FATAL_ERROR "No functions found in ${import_library}")
  endif()
  list(JOIN imports "\n" exports)
  file(WRITE ${delay_libraries}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
  set(delay_library ${delay_libraries}/lib${dll}_delay.a)
  execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${delay_libraries}/${dll}.def
                          --output-delaylib ${delay_library}
                  COMMAND_ERROR_IS_FATAL ANY)
  add_library(${dll} STATIC IMPORTED GLOBAL)
  set_target_properties(${dll} PROPERTIES IMPORTED_LOCATION ${delay_library})
endforeach()

add_library(vardelle_system_library_search OBJECT
            ${PROJECT_SOURCE_DIR}/runtime/windows/system_library_search.cpp)
