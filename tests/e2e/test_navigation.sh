#!/usr/bin/env bash
# The five windows share one place on the screen, also after a real drag; "X" hides to the
# notification area, whose click and "Quorelle DIVO" bring back the right window; Enter and
# Escape do nothing; the language menu changes every window and survives a restart; each user
# of the device library balances its ConfLibInit with a ConfLibUnInit.
. "$(dirname "$0")/lib.sh"
e2e_init
MAIN=$E2E_TITLE
HIFI="$E2E_TITLE - Hifi"
HP="$E2E_TITLE - Headphone"

check "the main window opens" panel_start
start=$(corner "$MAIN")

# main -> HIFI -> headphone -> main with the navigation buttons, by real clicks
click_control "$MAIN" 1002
check "HIFI button shows the HIFI page" visible "$HIFI"
check "... and hides the main window" hidden "$MAIN"
check "the HIFI page sits where the main window was" at "$HIFI" "$start"
click_control "$HIFI" 1081
check "the headphone page follows" visible "$HP"
check "... at the same place" at "$HP" "$start"
click_control "$HP" 1181
check "back on the main window" visible "$MAIN"
check "... at the same place" at "$MAIN" "$start"

# a real drag on an empty part of the background moves the window, and the pages follow
set -- $start
drag $(($1 + $(px 400))) $(($2 + $(px 285))) "$(px 60)" "$(px 40)"
moved="$(($1 + $(px 60))) $(($2 + $(px 40)))"
check "dragging the background moves the main window" at "$MAIN" "$moved"
click_control "$MAIN" 1002
check "the HIFI page opens at the new place" at "$HIFI" "$moved"
set -- $moved
drag $(($1 + $(px 300))) $(($2 + $(px 470))) "$(px -30)" "$(px -20)"
moved2="$(($1 + $(px -30))) $(($2 + $(px -20)))"
check "dragging the HIFI page moves it" at "$HIFI" "$moved2"
click_control "$HIFI" 1075
check "the main window follows the page that was left" at "$MAIN" "$moved2"

# Escape in the main window, and Enter on its close button, never close it (Enter on a page
# button goes to that page, as on the pages)
xdotool mousemove --sync $((${moved2% *} + $(px 400))) $((${moved2#* } + $(px 285))) click 1
on_close() { [ "$(probe focused "$MAIN")" = "active 1 focus 1000" ]; }
for ((i = 0; i < 20; i++)); do on_close && break; xdotool key shift+Tab; sleep 0.1; done
check "Shift+Tab reaches the main window's close button" on_close
xdotool key Return Escape
after_action "a click, then Enter on the close button and Escape in the main window"
check "Enter and Escape leave the main window open" visible "$MAIN"

# "X" hides to the notification area; the icon's left clicks flip the window
click_control "$MAIN" 1000
check "X hides the main window" hidden "$MAIN"
probe send "$MAIN" 1129 151 0x201 >/dev/null
check "a click on the icon brings it back" visible "$MAIN"
probe send "$MAIN" 1129 151 0x201 >/dev/null
check "the next click hides it" hidden "$MAIN"
probe send "$MAIN" 0x0111 32774 0 >/dev/null
check "\"Quorelle DIVO\" shows it again" visible "$MAIN"

# a page's own "X" hides it; "Quorelle DIVO" brings back that page, not the console
click_control "$MAIN" 1004
click_control "$HP" 1179
check "the headphone page's X hides it" hidden "$HP"
check "... and the main window stays hidden" hidden "$MAIN"
probe send "$MAIN" 0x0111 32774 0 >/dev/null
check "\"Quorelle DIVO\" brings back the headphone page" visible "$HP"
click_control "$HP" 1181

# WM_SHOW_PAGE outside the five windows answers 0; the tray still finds the main window
check "WM_SHOW_PAGE 5 answers 0" test "$(probe send "$MAIN" 2024 0 5)" = 0
probe send "$MAIN" 0x0111 1000 0 >/dev/null
probe send "$MAIN" 0x0111 32774 0 >/dev/null
check "after it, \"Quorelle DIVO\" still shows the main window" visible "$MAIN"

# the language menu: every window's navigation captions change, and the choice is kept
probe send "$MAIN" 0x0111 32782 0 >/dev/null
captions_read() {  # the "main" caption of all five windows, a line each
    probe text "$MAIN" 1046
    probe text "$HIFI" 1074
    probe text "$E2E_TITLE - Advance" 1205
    probe text "$E2E_TITLE - Information" 1052
    probe text "$HP" 1180
}
captions_in() {  # captions_in WORD: the "main" caption of all five windows reads WORD
    local got
    got=$(captions_read)
    [ "$got" = "$(printf '%s\n' "$1" "$1" "$1" "$1" "$1")" ] && return 0
    echo "      captions read: $(echo "$got" | tr '\n' '|')" >&2
    return 1
}
check "English reaches all five windows" eventually captions_in Main
check "the choice is written to CPL.ini" eventually grep -q '^language=2' "$E2E_DIR/CPL.ini"
probe send "$MAIN" 0x0111 32781 0 >/dev/null
check "Traditional Chinese reaches all five windows" eventually captions_in 主控制台
check "the headphone caption is the traditional one" eventually eval '[ "$(probe text "$HP" 1186)" = 耳機 ]'
probe send "$MAIN" 0x0111 32782 0 >/dev/null

probe post "$MAIN" 0x0111 32775 0
check "\"Exit\" ends the program" panel_wait 20

check "English is there again after a restart" panel_start
check "... in every window" eventually captions_in Main
probe post "$MAIN" 0x0111 32775 0
panel_wait 20

log=$E2E_DIR/VirtualCard.log
inits=$(grep -c '^ConfLibInit ' "$log")
uninits=$(grep -c '^ConfLibUnInit ' "$log")
check "four users initialise the library per run ($inits in two runs)" test "$inits" = 8
check "each is balanced by ConfLibUnInit ($uninits)" test "$uninits" = 8
check "only the main window registers the callback" test "$(grep -c '^RegisterCallbackFunction' "$log")" = 2
e2e_finish
