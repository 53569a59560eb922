#!/usr/bin/env bash
# Writes a GB18030 copy of every source under ROOT's given folders that holds non-ASCII text
# into OUT, at the same relative path, and removes copies whose source no longer needs one.
# gcc compiles narrow literals to GBK itself; clang only knows UTF-8, so the fuzz build
# compiles these copies, whose literals already hold the GBK bytes that clang passes through.
#   fuzz/gbk_overlay.sh ROOT OUT FOLDER...
set -euo pipefail
root=$1 out=$2; shift 2
export LC_ALL=C.UTF-8
cd "$root"
mapfile -t files < <(grep -rlP '[^\x00-\x7F]' --include='*.h' --include='*.cpp' --include='*.inc' "$@")
for file in "${files[@]}"; do
  # A character whose second byte is a backslash would escape what follows it in a literal.
  for character in $(grep -oP '[^\x00-\x7F]' "$file" | sort -u); do
    if printf '%s' "$character" | iconv -f UTF-8 -t GB18030 | od -An -tx1 | grep -q 5c; then
      echo "$file: '$character' has a backslash byte in GBK; spell it as an escape" >&2
      exit 1
    fi
  done
  mkdir -p "$out/$(dirname "$file")"
  # u8 literals keep their UTF-8, spelled as octal escapes that no encoding changes.
  perl -pe 's{u8"((?:[^"\\]|\\.)*)"}{my $s = $1; $s =~ s/([\x80-\xFF])/sprintf("\\%03o", ord $1)/ge; "u8\"$s\""}ge' "$file" |
    iconv -f UTF-8 -t GB18030 > "$out/$file.new"
  # An unchanged copy keeps its time stamp, so nothing is rebuilt without a reason.
  if cmp -s "$out/$file.new" "$out/$file"; then rm "$out/$file.new"; else mv "$out/$file.new" "$out/$file"; fi
done
find "$out" -type f | while read -r copy; do
  relative=${copy#"$out/"}
  printf '%s\n' "${files[@]}" | grep -qxF "$relative" || rm "$copy"
done
