#!/usr/bin/env bash
# The window opens, a second copy ends at once and leaves the first running, and the window
# closes cleanly.
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

check "the system close command ends the program" probe post "$E2E_TITLE" 0x0112 0xF060 0
check "the process ends with exit code 0" panel_wait 20
check "no window is left" probe gone "$E2E_TITLE" 5000
e2e_finish
