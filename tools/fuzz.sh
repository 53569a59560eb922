#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/, clang's libFuzzer with ASan+UBSan) in build-fuzz/ and runs
# each one:
#   tools/fuzz.sh smoke           7 s per target, one per core at a time, as the test command
#                                 runs it
#   tools/fuzz.sh long SECONDS [TARGET...]    SECONDS per target (all targets by default), one
#                                 process at a time at the lowest priority, to run beside work
# Each target keeps its corpus in build-fuzz/corpus/NAME (started from fuzz/seeds/NAME); a
# finding is written to build-fuzz/findings/NAME and fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-}
case $mode in
  smoke) budget=60 ;;
  long) budget=${2:?"usage: tools/fuzz.sh long SECONDS [TARGET...]"}; shift 2 ;;
  *) echo "usage: tools/fuzz.sh smoke | long SECONDS [TARGET...]" >&2; exit 2 ;;
esac

build=$root/build-fuzz
CXX=clang++ cmake -S "$root/fuzz" -B "$build" -G Ninja >/dev/null
mapfile -t targets < "$build/targets.txt"
[[ $mode == long && $# -gt 0 ]] && targets=("$@")
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/%/_fuzz}"

seconds=$budget
[[ $mode == smoke ]] && seconds=$((budget / ${#targets[@]}))
fuzz_one() {
  local target=$1 corpus=$build/corpus/$1 findings=$build/findings/$1 seeds=$root/fuzz/seeds/$1
  mkdir -p "$corpus" "$findings"
  [[ -d $seeds ]] || seeds=$corpus
  # A slow input counts as a finding too: every input here should take milliseconds.
  "$build/${target}_fuzz" "$corpus" "$seeds" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
    -artifact_prefix="$findings/" -print_final_stats=1 2>"$build/$target.log" ||
    { tail -n 40 "$build/$target.log" >&2; echo "fuzz target $target failed; see $findings" >&2; return 1; }
}
report() {
  echo "fuzzed $1 for ${seconds}s: $(grep -E '^stat::number_of_executed_units' "$build/$1.log" | tail -n 1)"
}

if [[ $mode == long ]]; then
  renice -n 19 -p $$ >/dev/null
  for target in "${targets[@]}"; do
    fuzz_one "$target"
    report "$target"
  done
  exit 0
fi
# Smoke: the targets run side by side, as many as there are cores; each one's failure is told.
failed=0
running=0
for target in "${targets[@]}"; do
  if ((running >= $(nproc))); then
    wait -n || failed=1
    running=$((running - 1))
  fi
  fuzz_one "$target" &
  running=$((running + 1))
done
while ((running > 0)); do
  wait -n || failed=1
  running=$((running - 1))
done
for target in "${targets[@]}"; do report "$target"; done
((failed == 0))
