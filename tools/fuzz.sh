#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/, clang's libFuzzer with ASan+UBSan) in build-fuzz/ and runs
# each one in turn, one process at a time at the lowest priority:
#   tools/fuzz.sh smoke           about a minute in all, as the test command runs it
#   tools/fuzz.sh long SECONDS [TARGET...]    SECONDS per target (all targets by default)
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
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target findings=$build/findings/$target seeds=$root/fuzz/seeds/$target
  mkdir -p "$corpus" "$findings"
  [[ -d $seeds ]] || seeds=$corpus
  echo "fuzzing $target for ${seconds}s"
  # A slow input counts as a finding too: every input here should take milliseconds.
  nice -n 19 "$build/${target}_fuzz" "$corpus" "$seeds" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
    -artifact_prefix="$findings/" -print_final_stats=1 2>"$build/$target.log" ||
    { tail -n 40 "$build/$target.log" >&2; echo "fuzz target $target failed; see $findings" >&2; exit 1; }
  grep -E '^stat::number_of_executed_units|^#[0-9]+ +DONE' "$build/$target.log" | tail -n 1
done
