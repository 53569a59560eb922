#!/usr/bin/env bash
# vardelle-ping's arguments, probing loopback only: a host given more than once is probed and
# printed once, where it first appears; -- ends the options; --count makes rounds; more than
# 100 rounds or 10,000 different hosts is a usage error (exit 2), found before any probe.
# A probing run ends with 0 or 1, whether or not this user may send echoes.
# Usage: vardelle_ping_arguments_test.sh VARDELLE_PING
set -uo pipefail
program=$1
failures=0

# expect HOSTS STATUS ARGUMENT...: the first word of each printed line, and the exit status
# (probed: 0 or 1).
expect() {
  local want_hosts=$1 want_status=$2 output status hosts
  shift 2
  output=$("$program" --timeout 2000 "$@" 2>/dev/null)
  status=$?
  hosts=$(cut -d' ' -f1 <<<"$output" | tr '\n' ' ')
  if [[ $want_status == probed ]] && ((status == 0 || status == 1)); then status=probed; fi
  [[ $hosts == "$want_hosts " && $status == "$want_status" ]] \
    || { echo "FAIL: ${*:1:6}...: printed '$hosts', exit $status"; failures=$((failures + 1)); }
}

many() { for ((i = 0; i < $1; ++i)); do echo "127.$((i / 250 / 250)).$((i / 250 % 250)).$((i % 250 + 1))"; done; }

expect "127.0.0.2 127.0.0.1" probed 127.0.0.2 127.0.0.1 127.0.0.2 127.0.0.1
expect "127.0.0.1 127.0.0.1 127.0.0.1" probed --count 3 127.0.0.1 127.0.0.1
expect "127.0.0.1" probed -- 127.0.0.1
expect "::1 127.0.0.1" probed ::1 127.0.0.1 ::1
expect "" 2 --count 101 127.0.0.1
expect "" 2 --count 0 127.0.0.1
expect "" 2 --rounds 2 127.0.0.1
expect "" 2 --
mapfile -t hosts < <(many 10001)
expect "" 2 "${hosts[@]}"
# 10,001 names, 10,000 of them different: taken.
count=$("$program" --timeout 2000 "${hosts[@]:1}" 127.0.0.2 2>/dev/null | wc -l)
((count == 10000)) || { echo "FAIL: 10,000 different hosts printed $count lines"; failures=$((failures + 1)); }
((failures == 0))
