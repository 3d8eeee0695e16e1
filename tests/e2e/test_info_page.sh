#!/usr/bin/env bash
# The information page with real mouse input: it shows the version texts of CPL.ini as they
# stand (a long one, an empty one, an ampersand); a press that begins on the web address opens
# it through the shell, also after dragging the page, and no other press opens anything; a text
# cut short shows in full in a tip; the keys (End, Tab, Shift+Tab, Enter on the address) leave
# nothing stale; the language change message sets its captions; its buttons navigate.
. "$(dirname "$0")/lib.sh"
e2e_init
INFO="$E2E_TITLE - Information"
SHOT=$E2E_DIR/shot.png
OPENED=$E2E_DIR/opened.txt
URL=https://www.vandrexo.example

LONG_OS="Windows 10 Pro for Workstations & Enterprise Evaluation Edition 22H2 (10.0.19045.3803)"
printf '[CPL]\r\nlanguage=2\r\n[Info]\r\nOS=%s\r\nDriverVer=&&&&&&&&\r\nCPLVer=\r\n' "$LONG_OS" \
    >"$E2E_DIR/CPL.ini"

# A stand-in browser, registered with the shell's URL handler of this prefix for the length of
# the test: it records every address it is asked to open.
BROWSER=$E2E_DIR/browser.sh
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' "$OPENED" >"$BROWSER"
chmod +x "$BROWSER"
BROWSER_KEY='HKCU\Software\Wine\WineBrowser'
restore_browser() { wine reg delete "$BROWSER_KEY" /v Browsers /f >/dev/null 2>&1; }
trap 'restore_browser; e2e_cleanup' EXIT
wine reg add "$BROWSER_KEY" /v Browsers /d "$BROWSER" /f >/dev/null 2>&1
wineserver -w

# the addresses the browser was given (Wine's URL handler ends a bare host with a slash)
opened() { sed 's:/$::' "$OPENED" 2>/dev/null; }
opened_once() { [ "$(opened)" = "$URL" ]; }
opened_twice() { [ "$(opened)" = "$URL"$'\n'"$URL" ]; }

# label ID: the screenshot's area of control ID of the page, as ImageMagick arguments
label() {
    local at ctl
    at=($(spot "$INFO" "$1"))
    ctl=($(probe ctlrect "$INFO" "$1"))
    echo "$SHOT" -crop "${ctl[2]}x${ctl[3]}+${at[0]}+${at[1]}" +repage
}
# inked ID: light letters show inside control ID; ink_width ID: how wide they spread, in pixels
inked() { [ "$(convert $(label "$1") -colorspace gray -format '%[fx:int(255*maxima)]' info:)" -gt 150 ]; }
ink_width() { convert $(label "$1") -colorspace gray -threshold 60% -trim -format %w info: 2>/dev/null; }
# click_at ID DX DY: a real click at an offset from the top-left corner of control ID
click_at() {
    local ctl
    ctl=($(probe ctlrect "$INFO" "$1"))
    xdotool mousemove --sync $((ctl[0] + $2)) $((ctl[1] + $3)) click 1
    sleep 0.4
    after_action "a click at $2 $3 of control $1"
}

check "the main window opens" panel_start
click_control "$E2E_TITLE" 1005
check "the info button shows the information page" visible "$INFO"

# --- the texts -------------------------------------------------------------------------------
# text_is ID TEXT: control ID of the page holds TEXT
text_is() { [ "$(probe text "$INFO" "$1")" = "$2" ]; }
check "the OS label holds the long text in full" eventually text_is 1065 "$LONG_OS"
check "the driver label holds the ampersands" eventually text_is 1066 "&&&&&&&&"
check "the panel version label is empty" eventually text_is 1067 ""
check "the DirectX version is 11" eventually text_is 1068 11
check "the title" eventually text_is 1069 "Vandrexo Aurvel Audio Configuration"
check "the copyright notice names the maker" eventually eval 'probe text "$INFO" 1070 | grep -q "Vandrexo"'
check "the web address" eventually text_is 1071 "$URL"
check "captions in English" \
    eventually eval 'text_is 1061 "OS Version" && text_is 1063 "CPL Version" && text_is 1057 Headphone'
# shot_shows COMMAND...: a fresh screenshot of the page satisfies the command
shot_shows() { screenshot "$INFO" "$SHOT" && "$@"; }
# eight ampersands of 6 to 10 logical pixels each; read as mnemonic marks they would show as four
check "every ampersand is drawn, none taken for a mnemonic mark" \
    eventually shot_shows eval '[ "$(ink_width 1066)" -gt "$(px 45)" ]'
check "the empty label shows nothing" eval '! inked 1067'
check "the long text shows" eventually shot_shows inked 1065
check "nothing was opened at start" eval '[ -z "$(opened)" ]'

# --- a text cut short shows in full in a tip -------------------------------------------------
# shown: how many windows of the panel are visible
shown() { probe windows "$INFO" | awk '$2 == 1' | wc -l; }
hover() {
    local ctl
    ctl=($(probe ctlrect "$INFO" "$1"))
    xdotool mousemove --sync $((ctl[0] + ctl[2] / 2)) $((ctl[1] + $(px 5)))
}
# the count is taken with the pointer resting where no text is cut, once no tip is left from before
xdotool mousemove --sync $(($(corner "$INFO" | cut -d' ' -f1) + $(px 60))) \
    $(($(corner "$INFO" | cut -d' ' -f2) + $(px 40)))
sleep 1
base=$(shown)
hover 1065
check "resting on the cut OS text brings up a tip" eventually eval '[ "$(shown)" -gt "$base" ]'
hover 1066
sleep 1.5
check "a text that fits has none" eval '[ "$(shown)" = "$base" ]'

# --- presses ---------------------------------------------------------------------------------
for id in 1061 1065 1066 1069 1070; do click_at $id "$(px 4)" "$(px 4)"; done
press_at "$INFO" "$(px 400)" "$(px 280)"  # the panel below the sections
press_at "$INFO" "$(px 60)" "$(px 40)"    # above the version table
addr=($(probe ctlrect "$INFO" 1071))
xdotool mousemove --sync $((addr[0] + addr[2] / 2)) $((addr[1] + $(px -3))) click 1  # just above it
sleep 1.5
check "presses beside the address open nothing" eval '[ -z "$(opened)" ]'
check "... and leave the page shown" visible "$INFO"

click_at 1071 "$(px 10)" "$(px 8)"
check "a press on the address opens it through the shell" eventually opened_once

# a press on the address that drags the page: the page moves, and the address opens on release
before=$(corner "$INFO")
addr=($(probe ctlrect "$INFO" 1071))
drag $((addr[0] + $(px 20))) $((addr[1] + $(px 8))) "$(px 60)" "$(px 40)"
set -- $before
check "a press on the address drags the page first" at "$INFO" "$(($1 + $(px 60))) $(($2 + $(px 40)))"
check "... and then opens the address" eventually opened_twice
sleep 1
check "each press opened it once" opened_twice

# --- the keyboard ----------------------------------------------------------------------------
# the page starts with the keyboard on the address: each key shows the page as a full repaint
# does (the address drawn once over its background, its letters no thicker)
check "the keyboard is on the address" eval '[ "$(probe focused "$INFO")" = "active 1 focus 1071" ]'
for key in End Tab shift+Tab; do
    xdotool key "$key"
    sleep 0.3
    after_action "the key $key"
done
check "Tab and Shift+Tab bring the keyboard back to the address" \
    eval '[ "$(probe focused "$INFO")" = "active 1 focus 1071" ]'
check "... which shows the focus mark" mark_on "$INFO" 1071 1
xdotool key Return
check "Enter on the address opens it" eventually eval '[ "$(opened | wc -l)" = 3 ]'
after_action "Enter on the address"

# --- language --------------------------------------------------------------------------------
probe send "$INFO" 1127 0 1 >/dev/null
check "Traditional Chinese: the headphone caption" eventually text_is 1057 "耳機"
check "... the info caption stays" eventually text_is 1059 "信息"
check "... the driver caption" eventually text_is 1062 "驅動版本"
check "a language 5 changes nothing" eval '[ "$(probe send "$INFO" 1127 0 5)" = 1 ] &&
    text_is 1062 "驅動版本" && text_is 1066 "&&&&&&&&"'
check "the page wrote nothing" eval '[ "$(ini Info DriverVer)" = "&&&&&&&&" ] && [ "$(ini CPL language)" = 2 ]'

# --- navigation ------------------------------------------------------------------------------
place=$(corner "$INFO")
click_control "$INFO" 1060
check "the page's own button leaves it shown" eval 'sleep 0.5; visible "$INFO"'
click_control "$INFO" 1053
check "the main button brings back the main window" visible "$E2E_TITLE"
check "... in the page's place" at "$E2E_TITLE" "$place"
check "... and hides the page" hidden "$INFO"

e2e_finish
