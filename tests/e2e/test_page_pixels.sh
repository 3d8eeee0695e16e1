#!/usr/bin/env bash
# Every window of the panel, pixel for pixel, against the reference screenshots in
# tests/e2e/pixels/ (main window, HIFI, advance, information and headphone page, in known
# states). A change that is meant to alter what the user sees brings new references:
#   PIXELS_UPDATE=1 tests/e2e/test_page_pixels.sh
# PIXELS_DIST=DIR runs the QuorelleCPL.exe of another build (e.g. one made before a change to
# the painting) against the same references.
. "$(dirname "$0")/lib.sh"
e2e_init
REFERENCE=$QUORELLE_ROOT/tests/e2e/pixels
[ -n "${PIXELS_DIST:-}" ] && cp "$PIXELS_DIST/QuorelleCPL.exe" "$E2E_DIR/"
MAIN=$E2E_TITLE

# The card holds a user curve, the equalizer and the reverb on; the settings agree with it and
# fix the information page's version texts.
seed_curve_card
printf '%s\r\n' '[CPL]' 'language=2' '[Hifi]' 'isDrySoundOn=1' 'InitialButtonOn=3' 'ENVEnable=1' \
    'RoomEnable=1' 'Environment=6' 'Treble=20' 'Bass=20' '[Info]' 'OS=Windows 11 Pro 10.0.22631' \
    'CPLVer=1.0.0.0' 'DriverVer=Virtual card 1.0.0.0' >"$E2E_DIR/CPL.ini"

# same NAME TITLE: a screenshot of the window matches the reference NAME.png in every pixel
same() {
    local shot=$E2E_DIR/$1.png differing
    screenshot "$2" "$shot" || return 1
    if [ -n "${PIXELS_UPDATE:-}" ]; then
        mkdir -p "$REFERENCE" && cp "$shot" "$REFERENCE/$1.png"
        return 0
    fi
    differing=$(compare -metric AE "$REFERENCE/$1.png" "$shot" null: 2>&1) || true
    [ "$differing" = 0 ]
}
# window NAME TITLE: the window is shown and, once its painting settled, matches its reference
window() {
    visible "$2" || return 1
    xdotool mousemove --sync 0 0
    sleep 0.5
    eventually same "$1" "$2"
}

check "the main window opens" panel_start
check "main window" window main "$MAIN"
click_control "$MAIN" 1002
check "HIFI page" window hifi "$MAIN - Hifi"
click_control "$MAIN - Hifi" 1078
check "advance page" window advance "$MAIN - Advance"
click_control "$MAIN - Advance" 1209
check "information page" window info "$MAIN - Information"
click_control "$MAIN - Information" 1058
check "headphone page" window headphone "$MAIN - Headphone"
click_control "$MAIN - Headphone" 1181
check "the main window again" window main "$MAIN"
probe post "$MAIN" 0x0111 32775 0
check "the program ends" panel_wait 20
e2e_finish
