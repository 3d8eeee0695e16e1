#!/usr/bin/env bash
# Every test layer in one CTest run: native unit tests, Win32 tests under Wine, end to end.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$QUORELLE_ROOT"
quorelle_start_xvfb
trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; quorelle_stop_xvfb' EXIT
quorelle_prepare_prefix
ctest --test-dir build/native --output-on-failure -j 2 "$@"
