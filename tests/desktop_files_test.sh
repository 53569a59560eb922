#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo pass their validators. Exit 77 (skipped)
# when a validator is not installed.
# Usage: desktop_files_test.sh PACKAGING_DIR
set -euo pipefail
packaging=$1
command -v desktop-file-validate >/dev/null && command -v appstreamcli >/dev/null || exit 77
desktop-file-validate "$packaging/vardelle.desktop"
appstreamcli validate --no-net --pedantic "$packaging/io.github.vardelle.Vardelle.metainfo.xml"
