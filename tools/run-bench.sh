#!/usr/bin/env bash
# Runs every benchmark (figures only; nothing passes or fails here), then repeats every figure
# that has a target, one line each.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$QUORELLE_ROOT"

run_all() {
    for b in build/native/bench/*; do
        [ -x "$b" ] && [ -f "$b" ] && { echo "== $(basename "$b")"; "$b"; }
    done
    shopt -s nullglob
    local benches=(build/win/bench/*.exe)
    if [ ${#benches[@]} -gt 0 ]; then
        quorelle_wine_session
        for b in "${benches[@]}"; do
            echo "== $(basename "$b")"
            wine "$b" | tr -d '\r'
        done
    fi
    for b in tests/e2e/bench_*.sh; do
        [ -x "$b" ] && { echo "== $(basename "$b")"; "$b"; }
    done
}

figures=$(mktemp)
trap 'rm -f "$figures"' EXIT
(run_all) | tee "$figures"
echo "== targets"
grep '^target  ' "$figures" | sed 's/^target  //'
