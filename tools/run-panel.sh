#!/usr/bin/env bash
# Starts the panel from build/dist under Wine, prepared first as an installed copy is
# (tools/prepare-dist.sh: the version texts and the system's language in CPL.ini). With a display
# it opens there and this script returns when the panel ends. Without one it runs under Xvfb,
# saves a screenshot of every window of the program to build/screenshots/, and ends the program.
# QUORELLE_DIST and QUORELLE_SCREENSHOTS name other folders (the tests use copies).
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$QUORELLE_ROOT"
dist=${QUORELLE_DIST:-$QUORELLE_ROOT/build/dist}
quorelle_prepare_prefix

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    quorelle_window_management Y
    bash "$QUORELLE_ROOT/tools/prepare-dist.sh" "$dist"
    echo "Starting the panel on $DISPLAY"
    exec wine "$dist/QuorelleCPL.exe"
fi

. "$QUORELLE_ROOT/tests/e2e/lib.sh"
quorelle_start_xvfb
trap 'quorelle_end_wine; quorelle_stop_xvfb' EXIT
out=${QUORELLE_SCREENSHOTS:-$QUORELLE_ROOT/build/screenshots}
rm -rf "$out"
mkdir -p "$out"
bash "$QUORELLE_ROOT/tools/prepare-dist.sh" "$dist"
E2E_DIR=$dist
if ! panel_start; then
    echo "the panel did not open its window" >&2
    exit 1
fi
sleep 1.5
shot() {  # shot TITLE FILE: the screen area of a window of the program
    if screenshot "$1" "$out/$2.png"; then echo "  $out/$2.png"; fi
}
echo "Screenshots of the panel's windows:"
shot "$E2E_TITLE" main
# the pages, each shown through the main window's page switching and closed again
for page in "1 hifi Hifi 1073" "2 advance Advance 1204" "3 info Information 1051" "4 headphone Headphone 1179"; do
    set -- $page
    title="$E2E_TITLE - $3"
    if [ "$(probe send "$E2E_TITLE" 2024 0 "$1")" = 1 ] && probe wait "$title" 5000; then
        sleep 1.5
        shot "$title" "$2"
        probe send "$title" 0x0111 "$4" 0 >/dev/null
    fi
done
probe post "$E2E_TITLE" 0x0111 32775 0 || true   # "Exit"
probe post "$E2E_TITLE" 0x0112 0xF060 0 || true  # and the system close, for a window without the menu
panel_wait 20 || true
echo "Screenshots are in $out"
