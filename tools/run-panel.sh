#!/usr/bin/env bash
# Starts the panel from build/dist under Wine. With a display it opens there and this script
# returns when the panel ends. Without one it runs under Xvfb, saves a screenshot of every window
# of the program to build/screenshots/, and ends the program.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$QUORELLE_ROOT"
dist=$QUORELLE_ROOT/build/dist
quorelle_prepare_prefix

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Starting the panel on $DISPLAY"
    exec wine "$dist/QuorelleCPL.exe"
fi

. "$QUORELLE_ROOT/tests/e2e/lib.sh"
quorelle_start_xvfb
trap 'wineserver -k 2>/dev/null; quorelle_stop_xvfb' EXIT
out=$QUORELLE_ROOT/build/screenshots
rm -rf "$out"
mkdir -p "$out"
E2E_DIR=$dist
if ! panel_start; then
    echo "the panel did not open its window" >&2
    exit 1
fi
sleep 1
shot() {  # shot NAME: every visible window of the program
    local n=0 line
    while read -r line; do
        set -- $line
        [ "$2" = 1 ] || continue
        n=$((n + 1))
        import -window root -crop "${5}x${6}+${3}+${4}" +repage "$out/$1-$n.png"
        echo "  $out/$1-$n.png"
    done < <(probe windows "$E2E_TITLE")
}
echo "Screenshots of the panel's windows:"
shot main
# pages: shown through the main window's page switching (WM_SHOW_PAGE) when they exist
for page in 1:hifi 2:advance 3:info 4:headphone; do
    if [ "$(probe send "$E2E_TITLE" 2024 0 "${page%%:*}")" = 1 ]; then
        sleep 0.5
        shot "${page#*:}"
    fi
done
probe post "$E2E_TITLE" 0x0111 32775 0 || true   # "Exit"
probe post "$E2E_TITLE" 0x0112 0xF060 0 || true  # and the system close, for a window without the menu
panel_wait 20 || true
echo "Screenshots are in $out"
