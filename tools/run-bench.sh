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
# A private display twice the tests' size (1280 x 1024), so that the windows of the display-scale
# figures lie wholly on the screen at 200 % too, as on a real display of that scale.
if [ "${QUORELLE_XVFB:-}" != 1 ]; then
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 2560x2048x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xvfb=$!
    read -r display <"$fifo"
    rm -f "$fifo"
    export DISPLAY=:$display QUORELLE_XVFB=1
    trap 'kill "$xvfb"; wait "$xvfb"; rm -f "$figures"' EXIT
fi
(run_all) | tee "$figures"
echo "== targets"
grep '^target  ' "$figures" | sed 's/^target  //'
