#!/usr/bin/env bash
# Runs every benchmark (figures only; nothing passes or fails here).
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$QUORELLE_ROOT"
for b in build/native/bench/*; do
    [ -x "$b" ] && [ -f "$b" ] && { echo "== $(basename "$b")"; "$b"; }
done
shopt -s nullglob
benches=(build/win/bench/*.exe)
if [ ${#benches[@]} -gt 0 ]; then
    quorelle_start_xvfb
    trap 'wineserver -k 2>/dev/null; quorelle_stop_xvfb' EXIT
    quorelle_prepare_prefix
    for b in "${benches[@]}"; do
        echo "== $(basename "$b")"
        wine "$b" | tr -d '\r'
    done
fi
for b in tests/e2e/bench_*.sh; do
    [ -x "$b" ] && { echo "== $(basename "$b")"; "$b"; }
done
