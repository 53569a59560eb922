#!/usr/bin/env bash
# Sets up, builds (Release) and runs every benchmark, then prints one table of their figures,
# each beside its reference from the same run. The tree is build-bench/ unless
# VARDELLE_BENCH_BUILD names another; each benchmark's JSON result and output stay in
# TREE/bench-results/. A benchmark that needs root says so in its rows when not run as root.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=${VARDELLE_BENCH_BUILD:-build-bench}
benchmarks=(json_reader_bench offline_locations_bench ping_bench run_engine_bench window_run_bench)
limit_seconds=900  # per benchmark; a whole run takes about a minute and a half

bash "$root/tools/setup.sh"
bash "$root/tools/build.sh" "$tree" -DCMAKE_BUILD_TYPE=Release -DVARDELLE_BENCH=ON \
  -DVARDELLE_ASAN=OFF -DVARDELLE_TSAN=OFF -- "${benchmarks[@]}" bench_table

results=$root/$tree/bench-results
mkdir -p "$results"
export QT_QPA_PLATFORM=offscreen
files=()
for b in "${benchmarks[@]}"; do
  files+=("$results/$b.json")
  rm -f "$results/$b.json"
  echo "running $b ..." >&2
  if ! timeout "$limit_seconds" "$root/$tree/bench/$b" --benchmark_out="$results/$b.json" \
    --benchmark_out_format=json >"$results/$b.log" 2>&1; then
    echo "$b did not finish (see $results/$b.log); its rows say \"no result\"" >&2
  fi
done
echo >&2
"$root/$tree/bench/bench_table" "${files[@]}"
