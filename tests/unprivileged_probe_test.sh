#!/usr/bin/env bash
# With the capability the package grants, vardelle-ping answers as user nobody even where
# datagram ICMP is off. The test makes its own network namespace, so the host's
# ping_group_range is never touched. Exit 77 (skipped) when not root or a tool is missing.
# Usage: unprivileged_probe_test.sh VARDELLE_PING
set -euo pipefail
binary=$1
((EUID == 0)) || exit 77
for tool in setcap unshare setpriv ip sysctl; do command -v "$tool" >/dev/null || exit 77; done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
cp "$binary" "$scratch/vardelle-ping"
setcap cap_net_raw+ep "$scratch/vardelle-ping" || exit 77  # a file system without xattrs

probe() {
  unshare -n sh -c '
    ip link set lo up
    sysctl -q -w net.ipv4.ping_group_range="1 0"
    exec setpriv --reuid=nobody --regid=nogroup --clear-groups --inh-caps=-all \
      "$0" --timeout 2000 127.0.0.1' "$1"
}

# Without the capability the same user is refused: the namespace really blocks datagram ICMP.
cp "$binary" "$scratch/plain"
if probe "$scratch/plain" 2>/dev/null; then
  echo "FAIL: an ordinary user probed without the capability"; exit 1
fi
output=$(probe "$scratch/vardelle-ping")
echo "$output"
[[ $output =~ ^127\.0\.0\.1\ 127\.0\.0\.1\ [0-9]+$ ]]
