# What the Windows edition builds from source or takes from Debian's headers, since Debian
# has no mingw builds of these libraries (see third_party/README.md). Included before the
# project's warning flags, so the third-party code is compiled with its own.
enable_language(C)

# Regular expressions: PCRE2, 16-bit code units with JIT.
add_subdirectory(third_party/pcre2 EXCLUDE_FROM_ALL)

# Loopback servers for the demo world and the tests: upstream's single header, which holds
# its code (Debian's holds only declarations). SYSTEM: its warnings are not ours. With zlib,
# as Debian builds it, the servers compress for clients that accept it; static, so the
# programs need no zlib1.dll.
#
# One request per connection: WinHTTP keeps idle connections open in its pool (30 s under
# Wine), and a server's stop then waits for the worker on such a connection to reach the
# 5 s keep-alive time-out. Closed after each answer, every server stops at once.
#
# The header is split at configure time into its declarations and one file of code, as
# upstream's split.py does and as Debian ships it: whole, it took 15-30 s to compile at -O2 in
# each of the 15 files that include it.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
include(${CMAKE_CURRENT_LIST_DIR}/split_httplib.cmake)
vardelle_split_httplib(${PROJECT_SOURCE_DIR}/third_party/cpp-httplib/httplib.h
                       ${CMAKE_BINARY_DIR}/cpp-httplib)
add_library(vardelle_httplib STATIC ${CMAKE_BINARY_DIR}/cpp-httplib/httplib.cc)
target_include_directories(vardelle_httplib SYSTEM PUBLIC ${CMAKE_BINARY_DIR}/cpp-httplib)
target_compile_definitions(vardelle_httplib PUBLIC CPPHTTPLIB_ZLIB_SUPPORT
                                                   CPPHTTPLIB_KEEPALIVE_MAX_COUNT=1)
target_link_libraries(vardelle_httplib PUBLIC ZLIB::ZLIB ws2_32)

# nlohmann::json is header-only: Debian's headers, seen through a folder holding nothing but
# them, since /usr/include itself would shadow mingw's C library headers.
set(VARDELLE_NLOHMANN_HEADERS /usr/include/nlohmann)
if(NOT EXISTS ${VARDELLE_NLOHMANN_HEADERS}/json.hpp)
  message(FATAL_ERROR "nlohmann::json not found: apt-get install nlohmann-json3-dev")
endif()
set(VARDELLE_NLOHMANN_ROOT ${CMAKE_BINARY_DIR}/nlohmann_json_include)
file(MAKE_DIRECTORY ${VARDELLE_NLOHMANN_ROOT})
file(CREATE_LINK ${VARDELLE_NLOHMANN_HEADERS} ${VARDELLE_NLOHMANN_ROOT}/nlohmann SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json INTERFACE ${VARDELLE_NLOHMANN_ROOT})

# GoogleTest, compiled from Debian's sources with the cross compiler; its targets come as
# GTest::gtest and GTest::gmock, as from find_package(GTest) on Linux.
set(VARDELLE_GOOGLETEST_SOURCES /usr/src/googletest)
if(NOT EXISTS ${VARDELLE_GOOGLETEST_SOURCES}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found: apt-get install googletest")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VARDELLE_GOOGLETEST_SOURCES} googletest EXCLUDE_FROM_ALL)
