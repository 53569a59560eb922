#!/usr/bin/env bash
# Cross-compiles the Windows edition with mingw-w64 in build-windows/ (Debian 12; installs its
# packages as root when missing): tools/build-windows.sh [--tests] [cmake options...]
# Builds vardelle.exe, vardelle-cli.exe and vardelle-ping.exe; with --tests, every Windows
# test program as well (tools/test.sh runs them under Wine, with -DVARDELLE_WERROR=ON; the
# tree keeps the options it was last given, so a later plain call rebuilds nothing). With
# --packages-only it installs what the build needs and stops: tools/test.sh does that before
# it builds in the background, so no two apt-get runs meet.
# The programs' pictures come from the Qt window's picture code, drawn first by one tool of a
# Linux tree of its own, build-windows-pictures/ (Linux packages: tools/setup.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

tests=false
packages_only=false
options=()
for argument in "$@"; do
  case $argument in
    --tests) tests=true ;;
    --packages-only) packages_only=true ;;
    *) options+=("$argument") ;;
  esac
done

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix mingw-w64-tools  # the cross compiler, posix thread model
  lld                                         # links in seconds what GNU ld takes minutes on
  wine wine64                                 # runs the test programs
  googletest nlohmann-json3-dev               # sources and headers built for the target
  libz-mingw-w64-dev                          # zlib for the loopback servers' compression
)
# shellcheck source=tools/install_packages.sh
source "$(dirname "$0")/install_packages.sh"
install_packages "${packages[@]}"
bash "$root/tools/setup.sh"
$packages_only && exit 0

# Only the picture tool and what it draws are built in the Linux tree.
cmake -S "$root" -B "$root/build-windows-pictures" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVARDELLE_BENCH=OFF >/dev/null
cmake --build "$root/build-windows-pictures" -j "$(nproc)" --target vardelle_windows_pictures
pictures=$root/build-windows-pictures/tools/windows_pictures

# Line tables only (-g1): enough for addr2line on a crash address, at a fraction of full
# debug information's compile and link time (a test program with -g is 150 MB). Options
# given on the command line come last, so they win over these.
cmake -S "$root" -B "$root/build-windows" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" \
  "-DVARDELLE_WINDOWS_PICTURES=$pictures" "${options[@]}" >/dev/null
if $tests; then
  cmake --build "$root/build-windows" -j "$(nproc)"
else
  cmake --build "$root/build-windows" -j "$(nproc)" --target vardelle vardelle-cli vardelle-ping
fi
