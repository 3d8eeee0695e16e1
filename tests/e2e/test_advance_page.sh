#!/usr/bin/env bash
# The advance page with real mouse input against the virtual card: the effects stored in CPL.ini
# reach the card at start and show on the lamps and indicators; a click on each lamp flips its
# key and sends all four effects in order; a press that drags the page still flips the lamp it
# started on; a quick double click flips a lamp twice; the labels follow the language; the
# choices survive a restart; without the library the lamps still work on the settings file.
. "$(dirname "$0")/lib.sh"
e2e_init
MAIN=$E2E_TITLE
ADV="$E2E_TITLE - Advance"
SHOT=$E2E_DIR/shot.png
LAMPS=(1192 1193 1194 1195)
INDICATORS=(1196 1197 1198 1199)
KEYS=(DynamicBass AudioBrilliant VoiceClarity AdaptiveVolume)

# one key on, one not a number, one 2 (both off), one missing
printf '[CPL]\r\nlanguage=2\r\n[Ad]\r\nDynamicBass=1\r\nAudioBrilliant=2\r\nVoiceClarity=abc\r\n' \
    >"$E2E_DIR/CPL.ini"

# effects_sent A B C D [A B C D ...]: after the mark, the card got the four enable properties
# in table order with these values (once for each four), on the analog output, and nothing else
# of them
effects_sent() {
    local got
    got=$(since_mark | sed -nE 's/^PropertyControl set Enable_(VIRTUALBASS_LFX|AUDIOBRILLIANT_LFX|VOICECLARITY_LFX|ADAPTIVEVOLUME_GFX) dev=10,1,0,1 data=(-?[0-9]+) extra=none -> 0$/\2/p' |
        tr '\n' ' ')
    [ "$got" = "$(printf '%s ' "$@")" ]
}
sent() { eventually effects_sent "$@"; }

# lamps_show A B C D: a fresh screenshot shows each lamp and its indicator on (1) or off (0)
lamps_show_now() {
    local i on states=("$@")
    screenshot "$ADV" "$SHOT" || return 1
    for i in 0 1 2 3; do
        on=${states[$i]}
        shows_image "$SHOT" ${LAMP_AT[$i]} $((on ? 149 : 148)) || return 1
        shows_image "$SHOT" ${INDICATOR_AT[$i]} $((on ? 133 : 132)) || return 1
    done
}
lamps_show() { eventually lamps_show_now "$@"; }

# press_lamp I: a real click on the centre of lamp I (32 x 52 logical pixels)
press_lamp() {
    set -- ${LAMP_AT[$1]}
    press_at "$ADV" $(($1 + $(px 16))) $(($2 + $(px 26)))
}

open_page() {
    click_control "$MAIN" 1003 && visible "$ADV"
}

mark_log
check "the main window opens" panel_start
check "start: the four effects reach the card in order (1, 0, 0, 0)" sent 1 0 0 0
check "the advance button shows the page" open_page
for i in 0 1 2 3; do
    LAMP_AT[$i]=$(spot "$ADV" "${LAMPS[$i]}")
    INDICATOR_AT[$i]=$(spot "$ADV" "${INDICATORS[$i]}")
done
check "start: only the Dynamic Bass lamp and indicator are lit" lamps_show 1 0 0 0
check "the labels are in English" test "$(probe text "$ADV" 1200)/$(probe text "$ADV" 1203)" = \
    "Dynamic Bass/Adaptive Volume"

# --- a click on each lamp -------------------------------------------------------------------------
state=(1 0 0 0)
for i in 0 1 2 3; do
    state[$i]=$((1 - state[$i]))
    mark_log
    press_lamp $i
    check "${KEYS[$i]} lamp: the key becomes ${state[$i]}" eventually ini_is Ad "${KEYS[$i]}" "${state[$i]}"
    check "${KEYS[$i]} lamp: all four effects sent (${state[*]})" sent "${state[@]}"
    check "${KEYS[$i]} lamp: lamps and indicators show ${state[*]}" lamps_show "${state[@]}"
done

# --- a press on a lamp that drags the page -------------------------------------------------------
origin=($(corner "$ADV"))
set -- ${LAMP_AT[1]}
mark_log
drag $((origin[0] + $1 + $(px 16))) $((origin[1] + $2 + $(px 26))) "$(px 40)" "$(px 30)"
check "the press on a lamp drags the page" at "$ADV" "$((origin[0] + $(px 40))) $((origin[1] + $(px 30)))"
check "... and flips the lamp it started on when released" eventually ini_is Ad AudioBrilliant 0
check "... sending all four effects" sent 0 0 1 1

# --- a quick double click is two presses ---------------------------------------------------------
origin=($(corner "$ADV"))
set -- ${LAMP_AT[3]}
mark_log
xdotool mousemove --sync $((origin[0] + $1 + $(px 16))) $((origin[1] + $2 + $(px 26))) click --repeat 2 --delay 150 1
sleep 0.4
after_action "a quick double click on a lamp"
adaptive_sent() { [ "$(since_mark | grep -c 'set Enable_ADAPTIVEVOLUME_GFX')" = "$1" ]; }
check "a quick double click on a lamp flips it twice" eventually adaptive_sent 2
check "... leaving its key as it was" eventually ini_is Ad AdaptiveVolume 1

# --- a press on the background toggles nothing ----------------------------------------------------
# two clicks on the Dynamic Bass lamp after it show when the press has been handled: the card
# gets their two rounds of effects and nothing before them
mark_log
press_at "$ADV" "$(px 400)" "$(px 280)"
press_lamp 0
press_lamp 0
check "a press beside the lamps sends nothing" sent 1 0 1 1 0 0 1 1

# --- the language ------------------------------------------------------------------------------------
probe send "$MAIN" 0x0111 32781 0 >/dev/null
check "Traditional Chinese reaches the page's labels" eventually \
    test "$(probe text "$ADV" 1201)/$(probe text "$ADV" 1203)" = "音頻修復/智能控制"

# --- a restart keeps every choice ------------------------------------------------------------------
probe post "$MAIN" 0x0111 32775 0
check "the program ends" panel_ends
mark_log
check "the panel starts again" panel_start
check "restart: the stored effects reach the card (0, 0, 1, 1)" sent 0 0 1 1
open_page
check "restart: the lamps show them" lamps_show 0 0 1 1

# --- without the library -------------------------------------------------------------------------
probe post "$MAIN" 0x0111 32775 0
panel_wait 20
rm -f "$E2E_DIR/osConfLib.dll" "$E2E_DIR/VirtualCard.log"
check "without the library the panel starts" panel_start
check "no library: the page opens" open_page
check "no library: the lamps show the file" lamps_show 0 0 1 1
press_lamp 0
check "no library: a click still flips the key" eventually ini_is Ad DynamicBass 1
check "no library: and its lamp" lamps_show 1 0 1 1
check "no library: nothing was logged by a card" test ! -e "$E2E_DIR/VirtualCard.log"

probe post "$MAIN" 0x0111 32775 0
check "the program ends" panel_ends
e2e_finish
