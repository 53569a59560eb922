#!/usr/bin/env bash
# The programs as the package installs them (copied into a staged root, the post-install step
# run on it), run as user nobody in a network namespace of the test's own where datagram ICMP
# is off, so the host's ping_group_range is never touched:
# - vardelle-ping holds CAP_NET_RAW and answers; a copy without it is refused, so the
#   namespace really blocks datagram ICMP; it loads neither Qt nor libcurl and the TLS
#   libraries, whose start-up code reads environment variables;
# - vardelle holds no capability (one an earlier version left is taken back), and its headless
#   run still gets every row's latency, through vardelle-ping --serve; without a capable
#   helper its reason names all three refusals;
# - a Qt style plugin, which any user can make the window load, finds no capability and
#   cannot open a packet socket.
# Exit 77 (skipped) when not root or a tool is missing.
# Usage: unprivileged_probe_test.sh VARDELLE_PING VARDELLE STYLE_PLUGIN POSTINST
set -euo pipefail
ping_program=$1 window_program=$2 style_plugin=$3 postinst=$4
((EUID == 0)) || exit 77
for tool in setcap getcap unshare setpriv ip sysctl timeout readelf; do
  command -v "$tool" >/dev/null || exit 77
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

root=$scratch/root bare=$scratch/bare home=$scratch/home
mkdir -p "$root/usr/bin" "$bare" "$home" "$scratch/plugins/styles"
cp "$ping_program" "$root/usr/bin/vardelle-ping"
cp "$window_program" "$root/usr/bin/vardelle"
cp "$ping_program" "$window_program" "$bare/"
cp "$style_plugin" "$scratch/plugins/styles/"
chown nobody "$home"
setcap cap_net_raw+ep "$root/usr/bin/vardelle" || exit 77  # a file system without xattrs
DPKG_ROOT=$root sh "$postinst" configure

held() { getcap "$1" | sed 's/^[^ ]* //'; }
[[ -z $(held "$root/usr/bin/vardelle") ]] || fail "vardelle holds $(held "$root/usr/bin/vardelle")"
[[ $(held "$root/usr/bin/vardelle-ping") == cap_net_raw=ep ]] \
  || fail "vardelle-ping holds '$(held "$root/usr/bin/vardelle-ping")', not cap_net_raw"

libraries=$(readelf -d "$ping_program" | grep NEEDED || true)
if grep -Ei 'lib(qt|curl|ssl|crypto|gnutls)' <<<"$libraries"; then
  fail "vardelle-ping loads more than it calls"
fi

as_nobody() {
  unshare -n sh -c '
    ip link set lo up
    sysctl -q -w net.ipv4.ping_group_range="1 0"
    exec setpriv --reuid=nobody --regid=nogroup --clear-groups --inh-caps=-all \
      env HOME="$0" XDG_CONFIG_HOME="$0/.config" QT_QPA_PLATFORM=offscreen timeout 120 "$@"' \
    "$home" "$@"
}

if as_nobody "$bare/vardelle-ping" --timeout 2000 127.0.0.1 >/dev/null 2>&1; then
  fail "an ordinary user probed without the capability"
fi
output=$(as_nobody "$root/usr/bin/vardelle-ping" --timeout 2000 127.0.0.1) || true
[[ $output =~ ^127\.0\.0\.1\ 127\.0\.0\.1\ [0-9]+$ ]] || fail "vardelle-ping printed '$output'"

# Every row with an address answers, through the helper.
headless() { as_nobody "$1" --headless --demo --format json 2>"$scratch/headless.err"; }
rows=$(headless "$root/usr/bin/vardelle") || fail "the headless run failed: $(cat "$scratch/headless.err")"
addressed=$(grep -c '"address": "[0-9]' <<<"$rows" || true)
answered=$(grep -c '"latencyMs": [0-9]' <<<"$rows" || true)
((addressed > 0 && answered == addressed)) \
  || fail "$answered of $addressed rows answered: $(cat "$scratch/headless.err")"

headless "$bare/vardelle" >/dev/null || true
for refusal in ping_group_range CAP_NET_RAW "helper $bare/vardelle-ping cannot either"; do
  grep -qF "$refusal" "$scratch/headless.err" \
    || fail "the reason names no '$refusal': $(cat "$scratch/headless.err")"
done

report=$home/capabilities
QT_PLUGIN_PATH=$scratch/plugins QT_STYLE_OVERRIDE=capabilityprobe \
  VARDELLE_CAPABILITY_REPORT=$report as_nobody "$root/usr/bin/vardelle" --demo || true
expected=$'CapEff:\t0000000000000000\npacket socket: refused'
[[ -f $report && $(cat "$report") == "$expected" ]] \
  || fail "a style plugin in vardelle found '$(cat "$report" 2>/dev/null || echo "nothing: not loaded")'"
((failures == 0))
