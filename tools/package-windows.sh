#!/usr/bin/env bash
# Builds the Windows edition (tools/build-windows.sh, line tables stripped from what ships) and
# packs it into build-windows/package/: vardelle-VERSION-win64.zip and the NSIS installer
# vardelle-VERSION-win64-setup.exe. Debian 12; installs its packages as root when missing.
# Extra arguments go to tools/build-windows.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  nsis        # the installer
  icoutils    # tests/windows_package_test.sh reads the programs' resources back
)
# shellcheck source=tools/install_packages.sh
source "$(dirname "$0")/install_packages.sh"
install_packages "${packages[@]}"

bash "$root/tools/build-windows.sh" "$@"

build=$root/build-windows
version=$(sed -n 's/^project(Vardelle VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[[ -n $version ]] || { echo "No project(Vardelle VERSION ...) in CMakeLists.txt" >&2; exit 1; }
# Windows versions have four numbers.
version_quad=$version
while (($(tr -cd . <<<"$version_quad" | wc -c) < 3)); do version_quad+=.0; done
# "2024 Vardelle developers": the years and the holder, as the Debian package states them.
copyright=$(sed -n 's/^Copyright: *//p' "$root/packaging/copyright" | head -n 1)
company=$(sed -E 's/^[0-9, -]+ //' <<<"$copyright")
pictures=$(sed -n 's/^VARDELLE_WINDOWS_PICTURES:PATH=//p' "$build/CMakeCache.txt")

name=vardelle-$version-win64
package=$build/package
stage=$package/$name
rm -rf "$package"
mkdir -p "$stage"

x86_64-w64-mingw32-strip -o "$stage/vardelle.exe" "$build/vardelle.exe"
x86_64-w64-mingw32-strip -o "$stage/vardelle-cli.exe" "$build/vardelle-cli.exe"
x86_64-w64-mingw32-strip -o "$stage/vardelle-ping.exe" "$build/tools/vardelle-ping.exe"
cp "$root/third_party/ip2region/ip2region.db" "$stage/"

# Text as Notepad reads it on every Windows version: UTF-8 with a byte order mark, CRLF lines.
windows_text() {
  { printf '\xef\xbb\xbf'; sed 's/\r\?$/\r/'; } >"$1"
}
sed "s/@VERSION@/$version/" "$root/packaging/windows/readme.zh.txt" | windows_text "$stage/说明.txt"
windows_text "$stage/LICENSE.txt" <"$root/packaging/copyright"

# The notices of everything linked into the programs: the sources in third_party/ and, for
# the libraries Debian's mingw packages supply, those packages' own copyright files.
notice() {
  printf '\n\n==== %s ====\n\n' "$1"
  cat "$2"
}
{
  cat "$root/packaging/windows/third-party-notices.txt"
  notice "PCRE2 (third_party/pcre2)" "$root/third_party/pcre2/LICENCE"
  notice "cpp-httplib (third_party/cpp-httplib)" "$root/third_party/cpp-httplib/LICENSE"
  notice "ip2region's IP database (ip2region.db, npm package ip2region 2.3.0)" \
    "$root/third_party/ip2region/LICENSE"
  notice "zlib (Debian package libz-mingw-w64)" /usr/share/doc/libz-mingw-w64/copyright
  notice "JSON for Modern C++ (Debian package nlohmann-json3-dev)" \
    /usr/share/doc/nlohmann-json3-dev/copyright
  notice "mingw-w64 runtime and winpthreads (Debian package mingw-w64-x86-64-dev)" \
    /usr/share/doc/mingw-w64-x86-64-dev/copyright
  notice "libgcc and libstdc++ (Debian package gcc-mingw-w64-x86-64-posix-runtime)" \
    /usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright
} | windows_text "$stage/THIRD-PARTY-NOTICES.txt"

# CMake's libarchive flags the UTF-8 names as such (Info-ZIP's zip does not), so 说明.txt
# keeps its name in Explorer on a Chinese system rather than being read as code page 936.
(cd "$package" && cmake -E tar cf "$name.zip" --format=zip "$name")

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DVERSION_QUAD="$version_quad" \
  -DCOMPANY="$company" -DCOPYRIGHT="Copyright © $copyright" -DSTAGE="$stage" \
  -DICON="$pictures/vardelle.ico" -DSIDE_PICTURE="$pictures/installer_side.bmp" \
  -DHEADER_PICTURE="$pictures/installer_header.bmp" -DOUTFILE="$package/$name-setup.exe" \
  "$root/packaging/windows/vardelle.nsi"

ls -l "$package/$name.zip" "$package/$name-setup.exe"
