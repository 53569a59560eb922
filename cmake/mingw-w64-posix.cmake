# Cross-compiles the Windows edition on Debian with mingw-w64:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake
# The -posix compilers, because Debian's default (win32 thread model) lacks std::mutex and
# std::thread. Test programs run through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARDELLE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARDELLE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARDELLE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VARDELLE_MINGW_TRIPLE}-windres)

# Libraries and headers only from the mingw sysroot; programs (code generators) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VARDELLE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Wide-character Win32 APIs, the Windows 10 API level, and no min/max macros in the way of
# std::min. Static: the programs then need no mingw runtime DLLs beside them.
set(VARDELLE_WINDOWS_DEFINITIONS
    "-DUNICODE -D_UNICODE -DNOMINMAX -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0A00")
set(CMAKE_C_FLAGS_INIT "${VARDELLE_WINDOWS_DEFINITIONS}")
set(CMAKE_CXX_FLAGS_INIT "${VARDELLE_WINDOWS_DEFINITIONS}")
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
# mingw's GNU ld spends two to three CPU-minutes on each test program (tens of thousands of
# COMDAT sections in every object); LLVM's linker, in its MinGW mode, under a second. Debian's
# mingw g++ has GNU ld built in and ignores -fuse-ld, so a driver wrapper carries the link over.
find_program(VARDELLE_LLD ld.lld NO_CMAKE_FIND_ROOT_PATH)
if(VARDELLE_LLD)
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT
         " -wrapper ${CMAKE_CURRENT_LIST_DIR}/mingw_link_with_lld.sh,${VARDELLE_LLD}")
endif()

# Debian keeps wine64 out of PATH; its `wine` wrapper picks the same loader.
find_program(VARDELLE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VARDELLE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VARDELLE_WINE})
endif()
