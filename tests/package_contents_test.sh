#!/usr/bin/env bash
# Packs the build tree as a Debian package into a scratch folder and checks its files and
# control fields. Exit 77 (skipped) without dpkg-deb or cpack.
# Usage: package_contents_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null || exit 77
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" \
  || { cat "$scratch/cpack.log"; exit 1; }
package=$(ls "$scratch"/vardelle_*.deb)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

contents=$(dpkg-deb --contents "$package")
for file in ./usr/bin/vardelle ./usr/bin/vardelle-ping \
    ./usr/share/applications/vardelle.desktop \
    ./usr/share/metainfo/io.github.vardelle.Vardelle.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/vardelle.svg \
    ./usr/share/icons/hicolor/16x16/apps/vardelle.png \
    ./usr/share/icons/hicolor/48x48/apps/vardelle.png \
    ./usr/share/icons/hicolor/256x256/apps/vardelle.png \
    ./usr/share/man/man1/vardelle.1.gz ./usr/share/man/man1/vardelle-ping.1.gz \
    ./usr/share/doc/vardelle/copyright ./usr/share/vardelle/ip2region.db; do
  grep -q " $file\$" <<<"$contents" || fail "missing $file"
done
grep -E '^-rwxr-xr-x root/root .* \./usr/bin/vardelle$' <<<"$contents" >/dev/null \
  || fail "vardelle is not an executable owned by root"

field() { dpkg-deb --field "$package" "$1"; }
[[ $(field Package) == vardelle ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version), want $version"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "Architecture"
# Depends comes from the linked libraries: the C++ runtime, Qt and libcurl at least.
for library in libc6 libstdc++6 libqt6widgets6 libcurl4; do
  [[ $(field Depends) == *"$library"* ]] || fail "Depends lacks $library: $(field Depends)"
done
[[ $(field Recommends) == *libcap2-bin* ]] || fail "Recommends lacks libcap2-bin"

control=$scratch/control
dpkg-deb --control "$package" "$control"
grep -q 'setcap cap_net_raw+ep' "$control/postinst" || fail "postinst grants no capability"
[[ -x $control/postinst ]] || fail "postinst is not executable"

extracted=$scratch/root
dpkg-deb -x "$package" "$extracted"
for program in vardelle vardelle-ping; do
  printed=$("$extracted/usr/bin/$program" --version)
  [[ $printed == "$program $version" ]] || fail "$program --version printed '$printed'"
done
((failures == 0))
