#!/usr/bin/env bash
# Sets up, builds and runs every test: the layers below the window under ThreadSanitizer
# first, then the fuzz targets' smoke run, then the whole suite, window tests included,
# under AddressSanitizer + UndefinedBehaviorSanitizer through CTest, then the Windows
# edition's tests under Wine, with the zip and installer checks beside them (their output
# closes the output).
#
# The window tests do not run under ThreadSanitizer: Qt's own locks (futex based, in
# uninstrumented libraries) are invisible to it, so every call carried to the window's
# thread would be reported as a race. The threaded code they drive (test runs, the global
# test, the status set) runs under it through the in-memory window of the app tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/setup.sh"
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0

# Each stage says how long it took, so a slow one shows in CI's log.
stage_started=$SECONDS
stage_done() { echo "== $1: $((SECONDS - stage_started)) s"; stage_started=$SECONDS; }

# The Windows edition, cross-compiled with mingw-w64 (its tests run under Wine by CTest at the
# end), builds from the start at the lowest priority: it takes the cores the Linux stages
# leave idle while their tests wait on sockets and timers, and gives way to their builds.
bash "$root/tools/build-windows.sh" --packages-only
mkdir -p "$root/build-windows"
windows_build_log=$root/build-windows/build.log
# A process group of its own (job control on for this one job), so that a stage that fails
# ends the build with the script; the same session, so that its low priority holds against
# the stages here (a new session would be a scheduling group of its own, given an equal share).
set -m
(
  started=$SECONDS
  status=0
  nice -n 19 bash "$root/tools/build-windows.sh" --tests -DVARDELLE_WERROR=ON || status=$?
  echo "== Windows build, at the lowest priority beside the Linux stages: $((SECONDS - started)) s"
  exit "$status"
) >"$windows_build_log" 2>&1 </dev/null &
windows_build=$!
set +m
end_windows_build() { kill -- -"$windows_build" 2>/dev/null || true; }
trap end_windows_build EXIT

# Line tables (-g1) are all a sanitizer report needs, at a fraction of full debug info's cost.
# The libraries here are optimised (-O1), with warnings as errors: some warnings need the
# optimiser's analysis, and these three libraries hold the Linux platform code; the Windows
# build checks the portable code at -O2. Their tests also run faster for it.
threaded=(runtime_tests support_tests app_tests)
bash "$root/tools/build.sh" build-tsan -DVARDELLE_WERROR=ON -DVARDELLE_TSAN=ON -DVARDELLE_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" -- "${threaded[@]}"
stage_done "ThreadSanitizer build"
# The three programs run side by side (the tests are made to run in parallel, as CTest runs
# them below), each into a log shown when it ends. Single-threaded reads of huge hostile
# inputs run under AddressSanitizer below; under ThreadSanitizer they only took time (a
# minute and a half of the stage's four).
single_threaded_giants='-RegexCommon/*.HandlesSixteenMegabyteSubjects:JsonReaderHostile.*'
# Each program is waited for by its own PID: `wait -n` would also take the Windows build's end
# for one of theirs, and the stage would go on with a program still running, its failure unseen.
tsan_failed=0
tsan_programs=()
for t in "${threaded[@]}"; do
  TSAN_OPTIONS="halt_on_error=1:suppressions=$root/tests/tsan.supp" "$root/build-tsan/tests/$t" --gtest_brief=1 \
    --gtest_filter="$single_threaded_giants" >"$root/build-tsan/$t.log" 2>&1 &
  tsan_programs+=($!)
done
for program in "${tsan_programs[@]}"; do wait "$program" || tsan_failed=1; done
for t in "${threaded[@]}"; do echo "-- $t"; cat "$root/build-tsan/$t.log"; done
((tsan_failed == 0))
stage_done "ThreadSanitizer tests"

bash "$root/tools/fuzz.sh" smoke
stage_done "fuzz targets, build and smoke run"

# Unoptimised: ASan and UBSan instrumentation is what an optimiser chews on, and at -O1 this
# tree took twice the compile time (the optimiser's warnings come from the trees above). The
# benchmarks are built too, so they keep compiling.
bash "$root/tools/build.sh" build-ci -DVARDELLE_WERROR=ON -DVARDELLE_ASAN=ON -DVARDELLE_BENCH=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O0 -g1 -DNDEBUG"
stage_done "AddressSanitizer + UBSan build"
cd "$root/build-ci"
# CTest pads every line with dots to the longest test name; the padding goes.
ctest_unpadded() { ctest --output-on-failure "$@" | sed -E 's/ \.{3,} +/  /'; }
# Waits for a job started in the background and shows its log; the job's exit status.
job_output() {
  local status=0
  wait "$1" || status=$?
  cat "$2"
  return "$status"
}
asan_status=0
ctest_unpadded -j "$(nproc)" || asan_status=$?
stage_done "AddressSanitizer + UBSan tests"
windows_status=0
job_output "$windows_build" "$windows_build_log" || windows_status=$?
stage_done "Windows build, what was left of it after the Linux stages"
((asan_status == 0 && windows_status == 0))
# The zip and the installer, checked, installed and removed under Wine in a prefix and
# wineserver of their own, beside the test programs below: each leaves a core idle for much of
# its time, waiting on Wine's starts. Its output follows theirs.
package_log=$root/build-windows/package-test.log
set -m
bash "$root/tests/windows_package_test.sh" >"$package_log" 2>&1 </dev/null &
package_test=$!
set +m
end_package_test() { kill -- -"$package_test" 2>/dev/null || true; }
# One wineserver of our own serves every test program (each then starts in a tenth of a
# second instead of two). Started first with its output sent away, and the prefix made
# before CTest runs: Wine's background processes keep the stdout of the call that started
# them, which would hold CTest's pipe open until the server ends.
export WINEPREFIX="$root/build-windows/wine-prefix" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
wineserver -p300 >/dev/null 2>&1 </dev/null
trap 'end_windows_build; end_package_test; wineserver -k 2>/dev/null || true' EXIT
wine wineboot --init >/dev/null 2>&1 </dev/null
# The window tests need no display: Wine's null graphics driver. The desktop takes its driver
# when it starts, so the server starts anew once the setting is in, and wineboot starts the
# desktop and services before CTest does, their output sent away.
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
wineserver -k; wineserver -w
wineserver -p300 >/dev/null 2>&1 </dev/null
wine wineboot >/dev/null 2>&1 </dev/null
# A test program that crashes ends at once with its failure rather than waiting for a debugger.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f \
  >/dev/null 2>&1 </dev/null
cd "$root/build-windows"
# Under a loaded Wine a test program now and then ends without having run (failure in 0.00 s,
# no output) or is killed as it exits after passing; neither came back in 100 runs alone.
# A failing program is run once more, so only a failure that repeats fails the stage.
wine_status=0
ctest_unpadded -j 2 --timeout 120 --repeat until-pass:2 || wine_status=$?
stage_done "Windows tests under Wine, the package checks beside them"
package_status=0
job_output "$package_test" "$package_log" || package_status=$?
stage_done "Windows package: zip and installer, what was left of it"
((wine_status == 0 && package_status == 0))
