#!/usr/bin/env bash
# The files of one unity batch are compiled as one: a private function of one file that has
# the name of another's no longer fails to compile when their parameters differ, it becomes an
# overload, and a call may silently take the other file's function. Every function name that
# two files of one batch define at file scope fails here (GoogleTest's PrintTo printers are
# overloads by design).
# Usage: unity_batch_names_test.sh BUILD_DIR
set -euo pipefail
build=$1
definition='^[A-Za-z_][A-Za-z0-9_:<>,*& ]*[ *&]([A-Za-z_][A-Za-z0-9_]*)\('
status=0
batches=0
while IFS= read -r -d '' batch; do
  batches=$((batches + 1))
  mapfile -t files < <(sed -n 's/^#include "\(.*\.cpp\)"$/\1/p' "$batch")
  shared=$(for file in "${files[@]}"; do
    grep -ohE "$definition" "$file" | sed -E "s/$definition/\\1/" | sort -u
  done | sort | uniq -d | grep -vxE 'PrintTo' || true)
  if [[ -n $shared ]]; then
    echo "$batch: defined by two of its files: $(tr '\n' ' ' <<<"$shared")"
    status=1
  fi
done < <(find "$build" -name wine-prefix -prune -o -path '*/Unity/unity_*_cxx.cxx' -print0)
((batches > 0)) || { echo "no unity batches under $build"; exit 1; }
exit "$status"
