#!/usr/bin/env bash
# Sets up, builds a release tree and packs the Debian package into build-package/, then
# checks it with lintian. Extra arguments go to CMake's configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh" build-package -DCMAKE_BUILD_TYPE=Release -DVARDELLE_BENCH=OFF "$@" \
  -- vardelle vardelle-ping vardelle_desktop_files
cd "$root/build-package"
cpack -G DEB
package=$(ls -t vardelle_*.deb | head -n 1)
echo "Built $root/build-package/$package"
# Warnings are listed but do not fail the build; errors do.
lintian --fail-on error "$package"
