#!/usr/bin/env bash
# The Windows programs load their DLLs from the system folder alone: copies of vardelle.exe
# and vardelle-ping.exe run, under Wine, beside a DLL of ours (tests/windows_planted_library.cpp)
# under the name of each import that is no KnownDLL; it notes in a marker file whenever it is
# loaded, which must never happen. Each run is one that loads winhttp.dll or iphlpapi.dll, as
# Wine's load trace must show, from the system folder. Wine prefers its own DLLs to one in the
# program's folder, which Windows does not: the override "n,b" (a DLL on disk first) makes it
# search as Windows does. Before that, the programs may import no DLL but the KnownDLLs.
# Run by CTest in the Windows tree (tools/test.sh prepares Wine):
#   tests/windows_library_planting_test.sh VARDELLE_EXE VARDELLE_PING_EXE PLANTED_DLL
set -euo pipefail
vardelle=$1 vardelle_ping=$2 planted=$3

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Always taken from the system folder, whatever lies beside the program.
known_dlls='advapi32 gdi32 kernel32 msvcrt ole32 shell32 shlwapi user32 ws2_32'
# Delay-loaded (cmake/windows_library_loading.cmake), each planted under its name.
planted_names='comctl32 comdlg32 crypt32 iphlpapi msimg32 uxtheme winhttp'

for program in "$vardelle" "$vardelle_ping"; do
  while read -r dll; do
    name=$(tr '[:upper:]' '[:lower:]' <<<"${dll%.*}")
    [[ " $known_dlls " == *" $name "* ]] || fail "$(basename "$program") imports $dll at start"
  done < <(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p')
done

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$vardelle" "$vardelle_ping" "$folder/"
for name in $planted_names; do cp "$planted" "$folder/$name.dll"; done
marker=$folder/marker.txt
windows_marker=$(wine winepath -w "$marker" 2>/dev/null | tr -d '\r')
# Not crypt32: Wine's own winhttp.dll loads it, delayed, by the path the program started
# with, ignoring the program's SetDefaultDllDirectories, as Windows does not.
overrides="$(tr ' ' ',' <<<"${planted_names/crypt32 /}")=n,b"

# run LOADED_DLL... -- PROGRAM ARGUMENT...: runs the copy and checks where each DLL came from.
run() {
  local expected=() dll trace
  while [[ $1 != -- ]]; do expected+=("$1"); shift; done
  shift
  # To a file: a debugger that Wine starts for a crash would hold a pipe open.
  WINEDLLOVERRIDES=$overrides WINEDEBUG=-all,+loaddll VARDELLE_TEST_PLANTED_MARKER=$windows_marker \
    timeout 120 wine "$folder/$@" >/dev/null 2>"$folder/trace.txt" </dev/null || true
  trace=$(tr -d '\r' <"$folder/trace.txt")
  for dll in "${expected[@]}"; do
    grep -qiF "system32\\\\$dll.dll\" at" <<<"$trace" || fail "$1 loaded no $dll.dll from system32"
  done
  [[ -e $marker ]] && fail "$1 loaded the planted $(iconv -f UTF-16LE -t UTF-8 "$marker")"
  rm -f "$marker"
}

run iphlpapi -- "$(basename "$vardelle_ping")" --count 1 127.0.0.1
run winhttp iphlpapi -- "$(basename "$vardelle")" --headless --demo --format csv

if ((failures)); then
  echo "$failures checks failed"
  exit 1
fi
echo "windows library planting: all checks passed"
