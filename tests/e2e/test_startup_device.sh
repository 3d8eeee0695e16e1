#!/usr/bin/env bash
# Start-up against the device library: with a card that reports no device the "No device!"
# boxes of the main window and the pages appear and the window still opens; without the
# library at all no message appears and the window opens. A start with /tray (as at sign-in)
# gives the card the same sets as a normal start and shows no window; the icon's click shows
# the panel; without a device it shows its notices as the icon's balloons, no box.
. "$(dirname "$0")/lib.sh"
e2e_init
BOX=QuorelleCPL
HIFI="$E2E_TITLE - Hifi"

# started [ARG]: the panel started (with ARG), its main window made, and its start-up over
# (the card's log still for a second)
started() {
    (cd "$E2E_DIR" && exec wine ./QuorelleCPL.exe "$@") >/dev/null 2>"$E2E_DIR/panel.err" &
    PANEL_PID=$!
    local i size before=-1
    for ((i = 0; i < 300; i++)); do
        size=$(stat -c %s "$E2E_DIR/VirtualCard.log" 2>/dev/null || echo 0)
        [ "$(probe count "$E2E_TITLE")" = 1 ] && [ "$size" = "$before" ] && [ "$size" != 0 ] &&
            return 0
        before=$size
        sleep 1
    done
    return 1
}
# sets: the card's sets since the log was last emptied, in order
sets() { grep ' set ' "$E2E_DIR/VirtualCard.log" 2>/dev/null | sed 's/ -> .*//'; }
stop() { probe post "$E2E_TITLE" 0x0111 32775 0 && panel_ends; }
none_shown() { hidden "$E2E_TITLE" && hidden "$HIFI" && [ "$(probe count "$BOX")" = 0 ]; }

# --- in the notification area: the same sets as a normal start, and no window ------------------
check "a normal start" started
stop
: >"$E2E_DIR/VirtualCard.log"
check "a normal start again" started
normal=$(sets)
stop
: >"$E2E_DIR/VirtualCard.log"
check "a start with /tray" started /tray
check "... shows no window" eval 'sleep 1 && none_shown'
check "... and gives the card the same sets as a normal start ($(echo "$normal" | wc -l))" \
    eval '[ -n "$normal" ] && [ "$(sets)" = "$normal" ]'
probe send "$E2E_TITLE" 1129 151 0x201 >/dev/null
check "the icon's left click shows the main window, active, with the keys" \
    eval 'visible "$E2E_TITLE" && eventually focused_on "$E2E_TITLE" 1007'
stop

# --- no device, in the notification area: balloons instead of boxes ----------------------------
printf '[Devices]\r\nOutput=\r\n' >"$E2E_DIR/VirtualCard.ini"
check "a start with /Tray without a device" started /Tray
check "... shows no box and no window" eval 'sleep 2 && none_shown'
check "... and shows its three notices without a box (as the icon's balloons)" \
    eval '[ "$(probe send "$E2E_TITLE" 2027 1 0)" = 3 ]'
stop
rm -f "$E2E_DIR/VirtualCard.log"

# --- no device ---------------------------------------------------------------------------------
printf '[Devices]\r\nOutput=\r\n' >"$E2E_DIR/VirtualCard.ini"
(cd "$E2E_DIR" && exec wine ./QuorelleCPL.exe) >/dev/null 2>&1 &
PANEL_PID=$!
boxes=0
for _ in 1 2 3 4; do
    probe wait "$BOX" 20000 || break
    [ "$(probe text "$BOX" 65535)" = "No device!" ] && boxes=$((boxes + 1))
    probe send "$BOX" 0x0111 1 0 >/dev/null  # OK
    probe gone "$BOX" 5000 || sleep 0.5
    probe wait "$E2E_TITLE" 300 && break
done
# the HIFI and advance pages report it while they are created, then the main window
check "three \"No device!\" boxes (HIFI, advance, main window): $boxes" test "$boxes" = 3
check "the main window opens after them" probe wait "$E2E_TITLE" 20000
check "the main window did not register the callback" \
    bash -c "! grep -q '^RegisterCallbackFunction' '$E2E_DIR/VirtualCard.log'"
probe post "$E2E_TITLE" 0x0111 32775 0
check "the program ends" panel_ends
check "each of the four users still uninitialises" \
    test "$(grep -c '^ConfLibUnInit' "$E2E_DIR/VirtualCard.log")" = 4

# --- no library --------------------------------------------------------------------------------
rm -f "$E2E_DIR/osConfLib.dll" "$E2E_DIR/VirtualCard.ini" "$E2E_DIR/VirtualCard.log"
check "without the library the window opens" panel_start
check "and no message box appears" test "$(probe count "$BOX")" = 0
check "the console still shows its lamps (the card is not needed for them)" \
    test "$(probe ctlrect "$E2E_TITLE" 1008 | cut -d' ' -f5)" = 1
probe post "$E2E_TITLE" 0x0111 32775 0
check "the program ends" panel_ends
e2e_finish
