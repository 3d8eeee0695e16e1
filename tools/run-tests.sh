#!/usr/bin/env bash
# Every test layer in one CTest run: native unit tests, Win32 tests under Wine, end to end.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$QUORELLE_ROOT"
quorelle_wine_session
ctest --test-dir build/native --output-on-failure -j 2 "$@"
