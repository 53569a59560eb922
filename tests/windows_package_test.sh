#!/usr/bin/env bash
# Packs the Windows edition with tools/package-windows.sh (after tools/build-windows.sh this
# only strips and packs) and checks what ships: the zip's files, that both programs are
# stripped 64-bit Windows programs importing nothing but the system's DLLs and carrying their
# resources, and that the installer asks for no administrator rights; then, under Wine in a
# prefix and wineserver of its own, a silent per-user installation into a scratch folder, its
# files, menu entry and Add/Remove Programs entry, a demo run of the installed program, and a
# silent uninstallation that leaves nothing behind; last, installations for all users: under
# Program Files, and refused anywhere else.
# Usage: tests/windows_package_test.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-windows
work=$build/package-test
rm -rf "$work"
mkdir -p "$work"

if ! bash "$root/tools/package-windows.sh" >"$work/package.log" 2>&1; then
  cat "$work/package.log"
  exit 1
fi
version=$(sed -n 's/^project(Vardelle VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name=vardelle-$version-win64
zip=$build/package/$name.zip
installer=$build/package/$name-setup.exe

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Whether TEXT holds STRING; on captured output, so no pipe is cut short under pipefail.
holds() { grep -qF -- "$2" <<<"$1"; }

# Wine: its own prefix and server; no Mono or Gecko download, and no menu entries on the host
# for the shortcut the installer makes.
export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$WINEPREFIX"
wineserver -p300 >/dev/null 2>&1 </dev/null
trap 'wineserver -k 2>/dev/null || true' EXIT
wine wineboot --init >/dev/null 2>&1 </dev/null
system32=$WINEPREFIX/drive_c/windows/system32
windows_path() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# --- The zip ---
expected=$(printf '%s\n' "$name/" "$name/LICENSE.txt" "$name/THIRD-PARTY-NOTICES.txt" \
  "$name/ip2region.db" "$name/vardelle-cli.exe" "$name/vardelle-ping.exe" "$name/vardelle.exe" \
  "$name/说明.txt" | sort)
listed=$(cmake -E tar tf "$zip" | sort)
[[ $listed == "$expected" ]] || fail "zip holds:"$'\n'"$listed"$'\n'"expected:"$'\n'"$expected"
holds "$(zipdetails "$zip")" "1 'Language Encoding'" || fail "the zip's names are not flagged UTF-8"
mkdir "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$zip")
files=$work/zip/$name

readme=$files/说明.txt
[[ $(head -c 3 "$readme" | od -An -tx1 | tr -d ' ') == efbbbf ]] || fail "说明.txt has no BOM"
grep -qv $'\r$' "$readme" && fail "说明.txt has lines without CRLF"
for text in 'vardelle.exe' 'vardelle-cli.exe' '管理员' '%APPDATA%\Vardelle' 'settings.ini' \
    '第一次启动' '满载' 'https://vardelle.github.io/' "$version"; do
  grep -qF "$text" "$readme" || fail "说明.txt does not mention $text"
done
grep -qF '爆满' "$readme" && fail "说明.txt says 爆满, a word the program does not use"
for licence in PCRE2 cpp-httplib ip2region zlib nlohmann winpthreads 'GCC RUNTIME LIBRARY EXCEPTION'; do
  grep -qF "$licence" "$files/THIRD-PARTY-NOTICES.txt" || fail "no notice for $licence"
done
grep -q 'Vardelle developers' "$files/LICENSE.txt" || fail "LICENSE.txt is not the licence"

# The DLLs a program imports must all be the system's own (present in Wine's system32) and
# none a compiler runtime that would have to ship beside it.
check_program() {
  local program=$1 dump dll
  dump=$(x86_64-w64-mingw32-objdump -p "$program")
  holds "$dump" '(PE32+)' || fail "$program is not PE32+"
  holds "$(x86_64-w64-mingw32-objdump -h "$program")" .debug_ && fail "$program has debug sections"
  holds "$(x86_64-w64-mingw32-objdump -t "$program")" 'no symbols' || fail "$program has symbols"
  while read -r dll; do
    [[ $dll =~ ^(lib|zlib|msvcp|vcruntime) ]] && fail "$program imports runtime $dll"
    [[ -n $(find "$system32" -maxdepth 1 -iname "$dll") ]] || fail "$program imports $dll"
  done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
}
check_program "$files/vardelle.exe"
check_program "$files/vardelle-cli.exe"
check_program "$files/vardelle-ping.exe"
# cmd waits for a console program, so what it prints comes before the next prompt.
subsystem() { x86_64-w64-mingw32-objdump -p "$files/$1" | sed -n 's/^Subsystem\s*//p'; }
holds "$(subsystem vardelle.exe)" '(Windows GUI)' || fail "vardelle.exe: $(subsystem vardelle.exe)"
holds "$(subsystem vardelle-cli.exe)" '(Windows CUI)' \
  || fail "vardelle-cli.exe: $(subsystem vardelle-cli.exe)"

# Resources: the version strings (UTF-16, Chinese included), the manifest, and the pictures.
version_strings() { wrestool -x --raw --type=16 "$1" | iconv -f UTF-16LE -t UTF-8 -c | tr -d '\0'; }
while read -r program description; do
  strings=$(version_strings "$files/$program.exe")
  for text in "$program.exe" 'Vardelle developers' "$version" "$description"; do
    holds "$strings" "$text" || fail "$program.exe's version information lacks $text"
  done
  manifest=$(wrestool -x --raw --type=24 --name=1 "$files/$program.exe")
  for text in 'Microsoft.Windows.Common-Controls' 'level="asInvoker"' \
      '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'; do
    holds "$manifest" "$text" || fail "$program.exe's manifest lacks $text"
  done
  holds "$manifest" '<activeCodePage' && fail "$program.exe changes the code page"
  wrestool -x --type=14 --name=100 "$files/$program.exe" >"$work/$program.ico"
  sides=$(icotool -l "$work/$program.ico" | sed -n 's/.*--width=\([0-9]*\).*--bit-depth=32.*/\1/p' \
    | paste -sd ' ')
  [[ $sides == '16 20 24 32 40 48 64 256' ]] || fail "$program.exe's icon sizes: $sides"
done <<'EOF'
vardelle 英雄联盟国服服务器
vardelle-cli 控制台版
vardelle-ping 命令行测速工具
EOF
# Each picture: number, width, height; all 32 bits per pixel, BI_RGB, bottom-up.
while read -r id width height; do
  bitmap=$work/bitmap-$id
  wrestool -x --raw --type=2 --name="$id" "$files/vardelle.exe" >"$bitmap"
  (($(stat -c %s "$bitmap") > 40)) || { fail "no bitmap $id"; continue; }
  # BITMAPINFOHEADER: size, width, height; planes, bit count; compression.
  header=$({ od -An -t d4 -N 12 "$bitmap"; od -An -t d2 -j 12 -N 4 "$bitmap"
    od -An -t d4 -j 16 -N 4 "$bitmap"; } | xargs)
  [[ $header == "40 $width $height 1 32 0" ]] || fail "bitmap $id: $header"
done <<'EOF'
201 16 16
202 16 16
203 16 16
204 24 24
205 36 12
207 96 96
208 150 150
EOF

# The installer asks Windows for no more rights than the user's own, so a per-user
# installation never runs elevated; an installation for all users is one started so.
installer_manifest=$(wrestool -x --raw --type=24 "$installer")
holds "$installer_manifest" 'level="asInvoker"' \
  || fail "the installer asks for rights:"$'\n'"$installer_manifest"

# --- The installer, per user, silent, into a folder of ours ---
install=$work/installed
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vardelle'
wine "$installer" /S /CurrentUser "/D=$(windows_path "$install")" </dev/null 2>>"$work/wine.log" \
  || fail "the installer failed"
for file in vardelle.exe vardelle-cli.exe vardelle-ping.exe ip2region.db 说明.txt LICENSE.txt \
    THIRD-PARTY-NOTICES.txt uninstall.exe; do
  [[ -f $install/$file ]] || fail "not installed: $file"
done
cmp -s "$install/vardelle.exe" "$files/vardelle.exe" || fail "the installer's vardelle.exe differs"
holds "$(wrestool -x --raw --type=24 "$install/uninstall.exe")" 'level="asInvoker"' \
  || fail "the uninstaller asks for rights"
appdata=$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
roaming=$(wine winepath -u "$appdata" 2>/dev/null | tr -d '\r')
shortcut="$roaming/Microsoft/Windows/Start Menu/Programs/Vardelle.lnk"
[[ -f $shortcut ]] || fail "no Start-menu entry for this user"
entry=$(wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r') || fail "no uninstall entry"
for value in 'DisplayName    REG_SZ    Vardelle' "DisplayVersion    REG_SZ    $version" \
    "InstallLocation    REG_SZ    $(windows_path "$install")" 'UninstallString    REG_SZ' \
    '/CurrentUser'; do
  holds "$entry" "$value" || fail "the uninstall entry lacks $value"
done
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vardelle' \
  >/dev/null 2>&1 && fail "a per-user installation registered for all users"

# The installed program's demo world is served on loopback only.
csv=$(timeout 600 wine "$install/vardelle.exe" --headless --demo --format csv </dev/null \
  2>"$work/demo.err" | tr -d '\r') || fail "the demo run failed: $(cat "$work/demo.err")"
rows=$(grep -c ',127\.0\.0\.[0-9]*,' <<<"$csv" || true)
((rows >= 2)) || fail "the demo run printed no rows of loopback servers:"$'\n'"$csv"

# Redirected, the help goes out as UTF-8 bytes: Chinese, or English when asked for.
for lang in 'zh|用法： vardelle' 'en|Usage: vardelle'; do
  help=$(wine "$install/vardelle-cli.exe" --help --lang "${lang%%|*}" </dev/null 2>/dev/null) || true
  holds "$help" "${lang#*|}" || fail "vardelle-cli --help --lang ${lang%%|*} printed:"$'\n'"$help"
done

# The uninstaller copies itself away and returns at once; the copy removes the folder last.
wine "$install/uninstall.exe" /S </dev/null 2>>"$work/wine.log" || fail "the uninstaller failed"
waited=0
while [[ -e $install ]] && ((waited++ < 240)); do sleep 0.5; done
[[ -e $install ]] && fail "the installation folder is left: $(ls "$install")"
[[ -e $shortcut ]] && fail "the Start-menu entry is left"
wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "the Add/Remove Programs entry is left"

# --- For all users (Wine's user has administrator rights), silent ---
# Under Program Files it installs and registers for all users; any other folder, one reached
# through "..", or Program Files itself is refused with exit code 2 before anything is
# written. The folder is the default, /D= or an earlier installation's (a path with blanks
# cannot go through wine as /D=, which NSIS wants unquoted).
machine_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vardelle'
while IFS='|' read -r folder given expected; do
  place=${folder:-'C:\Program Files\Vardelle'}
  target=$(wine winepath -u "$place" 2>/dev/null </dev/null | tr -d '\r')
  options=()
  case $given in
    option) options=("/D=$folder") ;;
    earlier) wine reg add "$machine_key" /v InstallLocation /d "$folder" /f >/dev/null 2>&1 </dev/null ;;
  esac
  status=0
  wine "$installer" /S /AllUsers "${options[@]}" </dev/null 2>>"$work/wine.log" || status=$?
  entry=$(wine reg query "$machine_key" 2>/dev/null </dev/null | tr -d '\r') || true
  if [[ $expected == refused ]]; then
    ((status == 2)) || fail "installing for all users into $place ended with $status, not 2"
    [[ -e $target/vardelle.exe ]] && fail "installing for all users into $place wrote there"
    holds "$entry" DisplayName && fail "$place was registered for all users"
    wine reg delete "$machine_key" /f >/dev/null 2>&1 </dev/null || true
    continue
  fi
  ((status == 0)) || fail "installing for all users into $place failed ($status)"
  [[ -f $target/vardelle.exe ]] || fail "not installed for all users: $target/vardelle.exe"
  holds "$entry" '/AllUsers /S' || fail "the all-users uninstall entry is:"$'\n'"$entry"
  wine "$target/uninstall.exe" /AllUsers /S </dev/null 2>>"$work/wine.log" \
    || fail "the all-users uninstaller failed"
  waited=0
  while [[ -e $target ]] && ((waited++ < 240)); do sleep 0.5; done
  [[ -e $target ]] && fail "the all-users installation in $place is left"
  wine reg query "$machine_key" >/dev/null 2>&1 </dev/null \
    && fail "the all-users uninstall entry is left"
done <<'EOF'
|default|accepted
C:\Program Files\Vardelle Test|earlier|accepted
C:\vardelle-machine|option|refused
C:\Program Files\..\vardelle-escape|earlier|refused
C:\Program Files|earlier|refused
C:\Program Files (x86)\Vardelle|earlier|refused
EOF

if ((failures)); then
  echo "$failures checks failed; Wine prefix and files kept in $work"
  exit 1
fi
wineserver -k 2>/dev/null || true
trap - EXIT
rm -rf "$work"
echo "windows package: all checks passed"
