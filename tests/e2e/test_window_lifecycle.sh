#!/usr/bin/env bash
# The window opens, a second copy ends at once and leaves the first running, and the window
# closes cleanly. A second start shows the running copy's current window, also after "X" hid it
# (the main console, or the page closed last), active and with the keys; one with /tray shows
# nothing.
. "$(dirname "$0")/lib.sh"
e2e_init

check "the main window opens" panel_start
first=$PANEL_PID

second_copy_ends_at_once() {
    local start end rc
    start=$(date +%s)
    (cd "$E2E_DIR" && timeout 20 wine ./QuorelleCPL.exe) >/dev/null 2>&1
    rc=$?
    end=$(date +%s)
    [ "$rc" -eq 0 ] && [ $((end - start)) -lt 10 ]
}
check "a second start ends at once" second_copy_ends_at_once
check "the first copy still runs" kill -0 "$first"
check "there is still exactly one main window" test "$(probe count "$E2E_TITLE")" = 1
check "the main window is still visible" test "$(probe rect "$E2E_TITLE" | cut -d' ' -f5)" = 1

# second_start [ARG]: a second copy started from its shortcut (with ARG) ends at once
second_start() {
    local start rc
    start=$(date +%s)
    (cd "$E2E_DIR" && timeout 20 wine ./QuorelleCPL.exe "$@") >/dev/null 2>&1
    rc=$?
    [ "$rc" -eq 0 ] && [ $(($(date +%s) - start)) -lt 10 ]
}
HIFI="$E2E_TITLE - Hifi"
click_control "$E2E_TITLE" 1000
check "X hides the main window" hidden "$E2E_TITLE"
check "a second start with /TRAY ends at once" second_start /TRAY
check "... and shows nothing" eval 'sleep 1; hidden "$E2E_TITLE" && hidden "$HIFI"'
check "a second start ends at once" second_start
check "... and the main window shows within a second, active, the volume knob with the keys" \
    eval 'probe wait "$E2E_TITLE" 1000 && eventually focused_on "$E2E_TITLE" 1007'
after_action "the running copy shown by a second start"
click_control "$E2E_TITLE" 1002
visible "$HIFI"
click_control "$HIFI" 1073
check "the HIFI page's X hides it" hidden "$HIFI"
check "a second start brings back the HIFI page, the page closed last, with the keys" \
    eval 'second_start && probe wait "$HIFI" 1000 && eventually focused_on "$HIFI" 1084 &&
    hidden "$E2E_TITLE"'
check "there is still exactly one main window" test "$(probe count "$E2E_TITLE")" = 1

check "the system close command ends the program" probe post "$E2E_TITLE" 0x0112 0xF060 0
check "the process ends with exit code 0" panel_wait 20
check "no window is left" probe gone "$E2E_TITLE" 5000
e2e_finish
