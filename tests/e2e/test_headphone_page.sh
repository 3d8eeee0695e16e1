#!/usr/bin/env bash
# The headphone page with real mouse input against the virtual card: the start-up check of the
# surround properties and the amplifier settings; the digital output holding surround off; real
# clicks on both lamps against VirtualCard.log, CPL.ini and the screen; the main window's
# digital output switch turning surround off on the page; a press that drags the page; an
# amplifier answering text that is no number; a start without the library.
. "$(dirname "$0")/lib.sh"
e2e_init
MAIN=$E2E_TITLE
HP="$E2E_TITLE - Headphone"
SHOT=$E2E_DIR/shot.png
LOG=$E2E_DIR/VirtualCard.log

# the card cannot read one of the surround properties
printf '[Properties]\r\nFailGet=ZODOZE_HPSPK_USEHP\r\n' >"$E2E_DIR/VirtualCard.ini"
# the digital output is on, surround was left on, the second impedance choice
printf '[CPL]\r\nlanguage=2\r\nDigitalOutSr=1\r\n[HP]\r\nSurroundMax=1\r\nLowOrHighZ=1\r\n' \
    >"$E2E_DIR/CPL.ini"

open_page() { click_control "$MAIN" 1004 && visible "$HP"; }
to_main() { click_control "$HP" 1181 && visible "$MAIN"; }
places() {
    SURROUND_AT=$(spot "$HP" 1174) && PICTURE_AT=$(spot "$HP" 1175) &&
        IMPEDANCE_AT=$(spot "$HP" 1178) && UPPER_AT=$(spot "$HP" 1176) &&
        LOWER_AT=$(spot "$HP" 1177)
}
# page_shows SURROUND CHOICE: a fresh screenshot shows surround on (1) or off (0) on its lamp
# and picture, and the impedance choice 1 or 0 on its lamp and indicators
page_shows_now() {
    screenshot "$HP" "$SHOT" &&
        shows_image "$SHOT" $SURROUND_AT $(($1 ? 131 : 130)) &&
        shows_image "$SHOT" $PICTURE_AT $(($1 ? 195 : 194)) &&
        shows_image "$SHOT" $IMPEDANCE_AT $(($2 ? 149 : 148)) &&
        shows_image "$SHOT" $UPPER_AT $(($2 ? 133 : 132)) &&
        shows_image "$SHOT" $LOWER_AT $(($2 ? 132 : 133))
}
page_shows() { eventually page_shows_now "$@"; }
press_surround() { set -- $SURROUND_AT && press_at "$HP" $(($1 + $(px 24))) $(($2 + $(px 12))); }
press_impedance() { set -- $IMPEDANCE_AT && press_at "$HP" $(($1 + $(px 16))) $(($2 + $(px 26))); }
surround_sent() { logged "set Enable_ZODOZE_HPSPK_LFX dev=[^ ]+ data=$1 extra=none -> 0"; }
amplifier_sent() { logged "set HPAmplifierControl dev=[^ ]+ data=$1 extra=0,0 -> 0"; }
no_amplifier_sent() { ! since_mark | grep -q "set HPAmplifierControl"; }
# the main window's digital output lamp, pressed after a mark_log; "on" or "off" as the card
# was told
press_digital() {
    click_control "$MAIN" 1037
    logged "set DefaultDeviceControl" && since_mark | grep -q "DefaultDeviceControl dev=12,4,0,1" &&
        echo on || echo off
}

# --- start-up ----------------------------------------------------------------------------------------
check "the main window opens" panel_start
check "start: the unreadable surround property is set to 0" \
    eventually grep -Eq "^PropertyControl set ZODOZE_HPSPK_USEHP dev=10,1,0,1 data=0 extra=none -> 0" "$LOG"
check "start: the amplifier settings are read (index 2 answers 32)" \
    eventually grep -Eq "^PropertyControl get HPAmplifierControl dev=10,1,0,1 extra=2,0 -> 0 answer=32" "$LOG"
check "start: the digital output holds surround off in the file" eventually ini_is HP SurroundMax 0
check "start: and on the card" eventually grep -Eq "^PropertyControl set Enable_ZODOZE_HPSPK_LFX dev=10,1,0,1 data=0 " "$LOG"
check "start: the stored impedance choice is not sent" bash -c "! grep -q 'set HPAmplifierControl' '$LOG'"
check "the headphone button shows the page" open_page
places
check "start: surround off, the second impedance choice on the screen" page_shows 0 1
check "the labels are in English" test "$(probe text "$HP" 1190)/$(probe text "$HP" 1191)" = \
    "Surround/Impendance"

# --- clicks on both lamps ---------------------------------------------------------------------------
mark_log
press_surround
check "digital output on: a surround click sends surround off" surround_sent 0
check "... keeps SurroundMax 0" ini_is HP SurroundMax 0
check "... and shows it off" page_shows 0 1
mark_log
press_impedance
check "impedance click: LowOrHighZ becomes 0" eventually ini_is HP LowOrHighZ 0
check "... setting A (600) goes to the card" amplifier_sent 600
check "... lamp down, lower indicator lit" page_shows 0 0
mark_log
press_impedance
check "impedance click: LowOrHighZ becomes 1" eventually ini_is HP LowOrHighZ 1
check "... setting B (32) goes to the card" amplifier_sent 32
check "... and the refresh sends surround again" surround_sent 0
check "... lamp up, upper indicator lit" page_shows 0 1

# --- the main window's digital output switch -------------------------------------------------------
to_main
mark_log
if [ "$(press_digital)" = on ]; then
    mark_log
    press_digital >/dev/null
fi
check "the main window switched the digital output off" eventually ini_is CPL DigitalOutSr 0
open_page
mark_log
press_surround
check "digital output off: a surround click writes SurroundMax 1" eventually ini_is HP SurroundMax 1
check "... sends surround on" surround_sent 1
check "... lamp and picture on" page_shows 1 1
to_main
mark_log
check "the digital output switched on again" test "$(press_digital)" = on
check "... writes SurroundMax 0" eventually ini_is HP SurroundMax 0
check "... and the headphone page sent surround off on the analog output" \
    logged "set Enable_ZODOZE_HPSPK_LFX dev=10,1,0,1 data=0 "
open_page
check "the page shows surround off without a click of its own" page_shows 0 1

# --- a press on a lamp that drags the page -----------------------------------------------------------
origin=($(corner "$HP"))
set -- $IMPEDANCE_AT
mark_log
drag $((origin[0] + $1 + $(px 16))) $((origin[1] + $2 + $(px 26))) "$(px -40)" "$(px 30)"
check "the press on the impedance lamp drags the page" at "$HP" "$((origin[0] + $(px -40))) $((origin[1] + $(px 30)))"
check "... and acts on the lamp when released" eventually ini_is HP LowOrHighZ 0
check "... sending setting A" amplifier_sent 600
probe post "$MAIN" 0x0111 32775 0
check "the program ends" panel_ends

# --- an amplifier answering text that is no number ---------------------------------------------------
printf '[Answers]\r\nHPAmplifierControl=junk\r\n' >"$E2E_DIR/VirtualCard.ini"
mark_log
check "the panel starts with the hostile amplifier" panel_start
check "hostile: the amplifier answered junk" logged "get HPAmplifierControl dev=10,1,0,1 extra=1,0 -> 0 answer=junk"
open_page
mark_log
press_impedance
check "hostile: an impedance click still writes LowOrHighZ" eventually ini_is HP LowOrHighZ 1
check "hostile: and shows the choice" page_shows 0 1
check "hostile: the refresh ran (surround sent)" surround_sent 0
check "hostile: no amplifier value was sent" no_amplifier_sent
probe post "$MAIN" 0x0111 32775 0
panel_wait 20

# --- without the library -------------------------------------------------------------------------------
rm -f "$E2E_DIR/osConfLib.dll" "$E2E_DIR/VirtualCard.ini" "$LOG"
printf '[CPL]\r\nlanguage=1\r\nDigitalOutSr=1\r\n[HP]\r\nSurroundMax=1\r\nLowOrHighZ=1\r\n' \
    >"$E2E_DIR/CPL.ini"
check "without the library the panel starts" panel_start
check "no library: the hold still writes SurroundMax 0" eventually ini_is HP SurroundMax 0
check "no library: the page opens" open_page
check "no library: the stored state shows" page_shows 0 1
check "no library: the labels are in Traditional Chinese" test "$(probe text "$HP" 1190)" = "環繞特效"
press_impedance
check "no library: an impedance click writes LowOrHighZ 0" eventually ini_is HP LowOrHighZ 0
check "no library: and shows it" page_shows 0 0
press_surround
check "no library: surround stays held off" page_shows 0 0
check "no library: nothing was logged by a card" test ! -e "$LOG"

probe post "$MAIN" 0x0111 32775 0
check "the program ends" panel_ends
e2e_finish
