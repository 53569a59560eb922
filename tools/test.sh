#!/usr/bin/env bash
# Sets up, builds and runs every test: the layers below the window under ASan+UBSan and
# under TSan first, then the whole suite through CTest (its summary closes the output).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/setup.sh"
export QT_QPA_PLATFORM=offscreen

sanitized=(runtime_tests support_tests app_tests)
bash "$root/tools/build.sh" build-asan -DVARDELLE_WERROR=ON -DVARDELLE_ASAN=ON -DVARDELLE_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug -- "${sanitized[@]}"
for t in "${sanitized[@]}"; do "$root/build-asan/tests/$t" --gtest_brief=1; done

bash "$root/tools/build.sh" build-tsan -DVARDELLE_WERROR=ON -DVARDELLE_TSAN=ON -DVARDELLE_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug -- "${sanitized[@]}"
for t in "${sanitized[@]}"; do TSAN_OPTIONS=halt_on_error=1 "$root/build-tsan/tests/$t" --gtest_brief=1; done

bash "$root/tools/fuzz.sh" smoke
bash "$root/tools/build.sh" build-ci -DVARDELLE_WERROR=ON -DVARDELLE_BENCH=ON
cd "$root/build-ci" && ctest --output-on-failure -j "$(nproc)"
