#!/usr/bin/env bash
# Sets up, builds and starts Vardelle on the offline demo world; extra arguments go to the
# program (for example --gamebox URL to read one site from elsewhere).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh" build -- vardelle
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
  echo "No display found: running without a visible window (QT_QPA_PLATFORM=offscreen)." >&2
  export QT_QPA_PLATFORM=offscreen
fi
exec "$root/build/vardelle" --demo "$@"
