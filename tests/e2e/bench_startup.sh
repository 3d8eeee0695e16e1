#!/usr/bin/env bash
# Start-up benchmark: QuorelleCPL.exe with the virtual card against the smallest program that
# opens one window, both started the same way by e2eprobe: time until the main window is visible
# and answers messages, and the peak working set. Figures only.
. "$(dirname "$0")/lib.sh"
e2e_init
MINIMAL=$QUORELLE_ROOT/build/win/tests/e2e/minimal_window.exe
cp "$MINIMAL" "$E2E_DIR/"
runs=${RUNS:-7}
# one start of each first, so that neither pays for a cold Wine
probe launch "$(winepath -w "$E2E_DIR/minimal_window.exe")" "Quorelle minimal window" >/dev/null
probe launch "$(winepath -w "$E2E_DIR/QuorelleCPL.exe")" "$E2E_TITLE" >/dev/null
# the two programs take turns, so that both meet the same load of the machine
for ((i = 0; i < runs; i++)); do
    probe launch "$(winepath -w "$E2E_DIR/QuorelleCPL.exe")" "$E2E_TITLE" >>"$E2E_DIR/panel.runs"
    probe launch "$(winepath -w "$E2E_DIR/minimal_window.exe")" "Quorelle minimal window" \
        >>"$E2E_DIR/minimal.runs"
done
median() {  # median FILE COLUMN
    sort -n -k"$2" "$1" | awk -v c="$2" '{v[NR] = $c} END {print v[int((NR + 1) / 2)]}'
}
panel_ms=$(median "$E2E_DIR/panel.runs" 1) panel_kb=$(median "$E2E_DIR/panel.runs" 2)
min_ms=$(median "$E2E_DIR/minimal.runs" 1) min_kb=$(median "$E2E_DIR/minimal.runs" 2)
printf 'start-up (median of %d)   time to visible and idle   peak working set\n' "$runs"
printf '  QuorelleCPL.exe         %8.1f ms                 %8d KiB\n' "$panel_ms" "$panel_kb"
printf '  minimal window          %8.1f ms                 %8d KiB\n' "$min_ms" "$min_kb"
awk -v a="$panel_ms" -v b="$min_ms" -v c="$panel_kb" -v d="$min_kb" 'BEGIN {
    printf "  ratio                   %8.2f x                  %8.2f x\n", a / b, c / d
    target("start-up time", a / b, 2)
    target("peak working set", c / d, 1.5)
}
function target(what, value, limit) {
    printf "target  %-36s %9.2f %-10s (target <= %g x minimal)  %s\n", what, value, "x minimal",
        limit, value <= limit ? "met" : "NOT MET"
}'
