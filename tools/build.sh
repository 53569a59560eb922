#!/usr/bin/env bash
# Configures and builds one build tree: tools/build.sh DIR [cmake options...] [-- targets...]
set -euo pipefail
dir=$1; shift
options=(); targets=()
while (($#)); do
  if [[ $1 == -- ]]; then shift; targets=("$@"); break; fi
  options+=("$1"); shift
done
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/$dir" -G Ninja "${options[@]}" >/dev/null
if ((${#targets[@]})); then
  cmake --build "$root/$dir" -j "$(nproc)" --target "${targets[@]}"
else
  cmake --build "$root/$dir" -j "$(nproc)"
fi
