#!/usr/bin/env bash
# The main console with real mouse input against the virtual card: the card's state shows at
# start; each sample-rate zone (also on both sides of its dividing lines), bit-depth lamp, the output picture and the digital output lamp
# write what they should to the card (VirtualCard.log) and to CPL.ini and light their lamps on
# the screen; a press on the background drags the window, a press on the mute lamp never does.
# With the keys only, from the HIFI page: Enter on its main button, Tab to the volume knob,
# which Right turns up to full level and no further, the space bar on mute, Enter on the HIFI
# button; Enter and Escape never close the main console.
. "$(dirname "$0")/lib.sh"
e2e_init

SHOT=$E2E_DIR/shot.png
LOG=$E2E_DIR/VirtualCard.log

# The card starts at 88.2 kHz and 32 bit, and cannot play 176.4 and 192 kHz.
cat >"$E2E_DIR/VirtualCard.ini" <<'EOF'
[Properties]
UnsupportedRates=176400,192000
[Answers]
DevSampleRateControl=88200
DevBitDepthControl=32
EOF

# Pixel places of the controls: the template's dialog units at the main window's fixed ratio
# (800 x 309 logical pixels for 483 x 189 units); lamps take their image's size.
px_x() { echo $(((($1 * 800 * 2) / 483 + 1) / 2)); }
px_y() { echo $(((($1 * 309 * 2) / 189 + 1) / 2)); }
# centre X Y W H: centre of a control at dialog units (X, Y) with an image of W x H logical
# pixels, in device pixels (the control's converted corner and half its converted size)
centre() {
    echo "$(($(px "$(px_x "$1")") + $(px "$3") / 2)) $(($(px "$(px_y "$2")") + $(px "$4") / 2))"
}

MUTE=$(centre 53 125 49 24)
OUTPUT=$(centre 224 69 32 52)
HEADPHONE_LED=$(centre 204 50 15 15)
SPEAKER_LED=$(centre 204 113 15 15)
DIGITAL=$(centre 280 33 49 24)
DEPTH16=$(centre 279 63 24 24)
DEPTH24=$(centre 316 63 24 24)
DEPTH32=$(centre 353 63 24 24)
LED_441=$(centre 294 123 15 15)
LED_48=$(centre 294 105 15 15)
LED_882=$(centre 294 87 15 15)
LED_96=$(centre 360 87 15 15)
LED_1764=$(centre 360 105 15 15)
LED_192=$(centre 360 123 15 15)
# the sample-rate picture: 51 x 49 logical pixels, two columns (the left one 25 wide), three
# rows (16 high, the last 17); places in device pixels, each inside its logical pixel
PIC_L=$(px_x 316)
PIC_T=$(px_y 97)
ZONE_LEFT=$(px $((PIC_L + 6)))
ZONE_RIGHT=$(px $((PIC_L + 45)))
ROW_TOP=$(px $((PIC_T + 8)))
ROW_MID=$(px $((PIC_T + 24)))
ROW_BOTTOM=$(px $((PIC_T + 41)))
# the two device pixels either side of each dividing line (logical edges 25, 16 and 32)
COL_RIGHT_START=$(px $((PIC_L + 25)))
COL_LEFT_END=$((COL_RIGHT_START - 1))
ROW_MID_START=$(px $((PIC_T + 16)))
ROW_TOP_END=$((ROW_MID_START - 1))
ROW_BOTTOM_START=$(px $((PIC_T + 32)))
ROW_MID_END=$((ROW_BOTTOM_START - 1))

window_xy() { probe rect "$E2E_TITLE" | cut -d' ' -f1,2; }

press() { press_at "$E2E_TITLE" "$@"; }  # press X Y: a click at a client point

take_shot() { screenshot "$E2E_TITLE" "$SHOT"; }
# seen COMMAND...: a fresh screenshot satisfies the command within 10 s (the page repaints
# after the click's work is done)
shot_then() { take_shot && "$@"; }
seen() { eventually shot_then "$@"; }
# shows X Y ID: the screenshot shows image ID's centre colour at client point (X, Y)
shows() { [ "$(pixel "$SHOT" "$1" "$2")" = "$(image_centre "$3")" ]; }
lit_led() { shows $1 $2 133; }
unlit_led() { shows $1 $2 132; }

check "the main window opens" panel_start

# --- the keyboard from the first key: real X keys, no window brought to the front first -------
check "start: the main console is the active window and its volume knob has the keys" \
    eventually focused_on "$E2E_TITLE" 1007
check "... with no focus mark before a key" mark_on "$E2E_TITLE" 1007 0 $(px 1)
xdotool key Tab
check "the first Tab after the start moves the keys to the balance" \
    eventually focused_on "$E2E_TITLE" 1010
check "... which shows the focus mark at once" mark_on "$E2E_TITLE" 1010 1
after_action "the first Tab after the start"
xdotool key shift+Tab
check "Shift+Tab brings them back to the volume knob, with its mark" \
    eval 'eventually focused_on "$E2E_TITLE" 1007 && mark_on "$E2E_TITLE" 1007 1 $(px 1)'
after_action "Shift+Tab back to the volume knob"

# --- the card's state at start ---------------------------------------------------------------
check "start: the 88.2 kHz lamp is lit" seen lit_led $LED_882
check "start: the 44.1 and 48 kHz lamps are unlit" seen eval "unlit_led $LED_441 && unlit_led $LED_48"
check "start: the 32-bit lamp is lit" seen shows $DEPTH32 146
check "start: the 16- and 24-bit lamps are unlit" seen eval "shows $DEPTH16 145 && shows $DEPTH24 145"
check "start: the speaker lamp is lit (no HeadPhone key)" seen eval "lit_led $SPEAKER_LED && unlit_led $HEADPHONE_LED"
check "start: rate support was asked for 192 kHz" \
    eventually grep -Eq "get IsSupportFormat dev=[^ ]+ extra=[0-9]+,192000 -> 0 answer=0" "$LOG"

# --- a knob drag whose release goes to another program ------------------------------------------
# Mid-drag another program comes to the front and takes the mouse, and the release goes to it
# (the panel keeps its capture under Wine; only the next move says the button is up). The
# pointer then hovers round the volume knob with no button down: the knob stays where the drag
# left it, and the window takes clicks again.
k=($(probe ctlrect "$E2E_TITLE" 1007))
side=$((k[2] < k[3] ? k[2] : k[3]))
cx=$((k[0] + side / 2)) cy=$((k[1] + side / 2))
# straight above the centre the knob points at 25, straight left at 9; each mouse message of a
# drag steps it one position toward the pointer
start=$(acc_value "$E2E_TITLE" 1007)
steps=$((${start:-0} > 25 ? ${start:-0} - 25 : 25 - ${start:-0}))
xdotool mousemove --sync $cx $((k[1] + side / 8)) mousedown 1
for ((i = 0; i < steps + 3; i++)); do
    sleep 0.05
    xdotool mousemove --sync $cx $((k[1] + side / 8 + (i + 1) % 2))
done
check "the knob follows the held button from ${start:-?} to 25" \
    eventually eval '[ "$(acc_value "$E2E_TITLE" 1007)" = 25 ]'
check "another program comes to the front mid-drag and gets the release" release_elsewhere
for i in 0 1 2 3 4 5 6 7 8 9; do
    xdotool mousemove --sync $((k[0] + side / 8)) $((cy + i % 2))
    sleep 0.05
done
button_up_aside
after_action "a knob drag whose release went to another program, then a hover round the knob"
# the click that shows the window answers again also shows that the moves before it were handled
mark_log
press $DEPTH32
check "... a click on the 32-bit lamp (already lit) reaches the card" \
    logged "set DevBitDepthControl dev=[^ ]+ data=32 extra=none -> 0"
check "... the knob stays where the drag left it (25 within 1)" near "$(acc_value "$E2E_TITLE" 1007)" 25

# --- sample-rate zones -----------------------------------------------------------------------
for zone in "44100 $ZONE_LEFT $ROW_BOTTOM $LED_441" "48000 $ZONE_LEFT $ROW_MID $LED_48" \
    "88200 $ZONE_LEFT $ROW_TOP $LED_882" "96000 $ZONE_RIGHT $ROW_TOP $LED_96" \
    "176400 $ZONE_RIGHT $ROW_MID $LED_1764" "192000 $ZONE_RIGHT $ROW_BOTTOM $LED_192" \
    "88200 $COL_LEFT_END $ROW_TOP_END $LED_882" "96000 $COL_RIGHT_START $ROW_TOP_END $LED_96" \
    "176400 $COL_RIGHT_START $ROW_MID_START $LED_1764" "48000 $COL_LEFT_END $ROW_MID_START $LED_48" \
    "44100 $COL_LEFT_END $ROW_BOTTOM_START $LED_441" "192000 $COL_RIGHT_START $ROW_BOTTOM_START $LED_192" \
    "176400 $COL_RIGHT_START $ROW_MID_END $LED_1764" "48000 $COL_LEFT_END $ROW_MID_END $LED_48"; do
    set -- $zone
    mark_log
    press "$2" "$3"
    check "rate zone $1 at $2 $3 writes the rate" logged "set DevSampleRateControl dev=[^ ]+ data=$1 extra=none -> 0"
    check "rate zone $1 at $2 $3 lights its lamp" seen lit_led "$4" "$5"
done
check "no press ever wrote the rate 0" bash -c "! grep -q 'set DevSampleRateControl .* data=0 ' '$LOG'"

# --- bit depth -------------------------------------------------------------------------------
for depth in "16 $DEPTH16" "24 $DEPTH24" "32 $DEPTH32"; do
    set -- $depth
    mark_log
    press "$2" "$3"
    check "the $1-bit lamp writes $1" logged "set DevBitDepthControl dev=[^ ]+ data=$1 extra=none -> 0"
    check "the $1-bit lamp is lit" seen shows "$2" "$3" 146
done

# --- output route ----------------------------------------------------------------------------
mark_log
press $OUTPUT
check "the output picture writes HeadPhone=1" eventually ini_is CPL HeadPhone 1
check "the headphone route code goes to the card" \
    logged "set DeviceSpecificControl dev=[^ ]+ data=2 extra=0,0 -> 0"
check "the headphone lamp is lit, the speaker lamp unlit" seen \
    eval "lit_led $HEADPHONE_LED && unlit_led $SPEAKER_LED"
check "the output picture shows the headphone" seen shows $OUTPUT 149
mark_log
press $OUTPUT
check "a second press writes HeadPhone=0" eventually ini_is CPL HeadPhone 0
check "the speaker route code goes to the card" \
    logged "set DeviceSpecificControl dev=[^ ]+ data=1 extra=0,0 -> 0"

# --- digital output --------------------------------------------------------------------------
mark_log
press $DIGITAL
check "digital output on: DigitalOutSr=1" eventually ini_is CPL DigitalOutSr 1
check "digital output on: isDrySoundOn=0" eventually ini_is Hifi isDrySoundOn 0
check "digital output on: SurroundMax=0" eventually ini_is HP SurroundMax 0
check "digital output on: the digital device becomes the default" \
    logged "set DefaultDeviceControl dev=12,4,0,1 data=0 extra=0,0 -> 0"
check "digital output on: the device state is read from the digital device" \
    logged "get DevSampleRateControl dev=12,4,0,1 extra=none"
check "digital output on: its lamp is lit" seen shows $DIGITAL 131
check "digital output on: the 32-bit lamp is gone" seen \
    eval "! shows $DEPTH32 146 && ! shows $DEPTH32 145"
mark_log
press $DEPTH32
check "the hidden 32-bit lamp's place still chooses 32 bits" \
    logged "set DevBitDepthControl dev=12,4,0,1 data=32 extra=none -> 0"
mark_log
press $DIGITAL
check "digital output off: DigitalOutSr=0" eventually ini_is CPL DigitalOutSr 0
check "digital output off: the analog device becomes the default" \
    logged "set DefaultDeviceControl dev=10,1,0,1 data=0 extra=0,0 -> 0"
check "digital output off: isDrySoundOn and SurroundMax stay 0" \
    eval '[ "$(ini Hifi isDrySoundOn)" = 0 ] && [ "$(ini HP SurroundMax)" = 0 ]'
check "digital output off: the 32-bit lamp is back, lit" seen shows $DEPTH32 146

# --- window drag -----------------------------------------------------------------------------
# drag FROM_X FROM_Y: a real press at a client point, moved by (40, 30) logical pixels, released
drag() {
    local origin
    origin=($(window_xy))
    local x=$((origin[0] + $1)) y=$((origin[1] + $2))
    xdotool mousemove $x $y mousedown 1
    sleep 0.3
    xdotool mousemove $((x + $(px 20))) $((y + $(px 15)))
    sleep 0.2
    xdotool mousemove $((x + $(px 40))) $((y + $(px 30)))
    sleep 0.3
    xdotool mouseup 1
    sleep 0.5
    after_action "a drag from $1 $2"
}
moved_by() {  # moved_by DX DY BEFORE_X BEFORE_Y
    local now
    now=($(window_xy))
    [ "${now[0]}" -eq $(($3 + $1)) ] && [ "${now[1]}" -eq $(($4 + $2)) ]
}
before=($(window_xy))
drag $(px 400) $(px 20)
check "dragging the background moves the window with the pointer" \
    eventually moved_by $(px 40) $(px 30) "${before[@]}"
before=($(window_xy))
take_shot
was_lit=$(shows $MUTE 138 && echo 1 || echo 0)
drag $MUTE
check "dragging from the mute lamp never moves the window" moved_by 0 0 "${before[@]}"
check "the press on the mute lamp toggled it" seen \
    eval '[ "$(shows $MUTE 138 && echo 1 || echo 0)" = $((1 - was_lit)) ]'
origin=($(window_xy))
set -- $MUTE
xdotool mousemove --sync $((origin[0] + $1)) $((origin[1] + $2)) click --repeat 2 --delay 150 1
sleep 0.5
after_action "a quick double click on the mute lamp"
# the double click leaves the lamp as it was: a click after it whose effect shows (the card
# hears of the lit 32-bit lamp again) tells that both of its clicks were handled
mark_log
press $DEPTH32
logged "set DevBitDepthControl dev=[^ ]+ data=32 extra=none -> 0"
take_shot
check "a quick double click on the mute lamp toggles it twice" \
    eval '[ "$(shows $MUTE 138 && echo 1 || echo 0)" = $((1 - was_lit)) ]'

# --- the keyboard only, from the HIFI page and back -------------------------------------------
HIFI="$E2E_TITLE - Hifi"
tab_to() { # tab_to TITLE ID: Tab, at most 60 times, until control ID has the keyboard focus
    local i
    for ((i = 0; i < 60; i++)); do
        focused_on "$1" "$2" && return 0
        xdotool key Tab
        sleep 0.1
    done
    focused_on "$1" "$2" || ! echo "    $(probe focused "$1")"
}
acc_value() { probe acc "$E2E_TITLE" "$1" | tr '\t' '\n' | sed -n 's/^value=//p'; }
knob_at() { [ "$(acc_value 1007)" = "$1" ]; }
checked() { # checked ID 1|0: the control's object is (1) or is not (0) checked
    local state
    state=$(probe acc "$E2E_TITLE" "$1" | tr '\t' '\n' | sed -n 's/^state=//p')
    [[ $state == 0x* ]] && ((((state & 0x10) != 0) == $2))
}
still_shown() { sleep 0.5 && visible "$E2E_TITLE" && [ "$(probe rect "$HIFI" | cut -d' ' -f5)" = 0 ]; }

probe send "$E2E_TITLE" 2024 0 1 >/dev/null
check "the HIFI page shows" visible "$HIFI"
check "Tab reaches the HIFI page's main button" tab_to "$HIFI" 1075
xdotool key Return
check "Enter on it shows the main console" eval 'visible "$E2E_TITLE" && hidden "$HIFI"'
after_action "Enter on the HIFI page's main button"
check "Tab reaches the volume knob" tab_to "$E2E_TITLE" 1007
after_action "Tab to the volume knob"
volume=$(acc_value 1007)
right_stops=1
for ((i = 1; i <= 60; i++)); do
    volume=$((volume < 50 ? volume + 1 : 50))
    xdotool key Right
    eventually knob_at "$volume" || { right_stops=0; echo "    after Right $i: $(acc_value 1007), not $volume"; break; }
    after_action "Right $i on the volume knob"
done
check "Right 60 times turns the volume up to full level and stops there (50)" \
    eval '((right_stops)) && knob_at 50'
# a knob turns as the platform's volume controls do: Up and Page Up louder, Down and Page Down
# quieter
knob_keys() { # knob_keys KEY VOLUME: after KEY the knob is at VOLUME
    xdotool key "$1"
    eventually knob_at "$2" || ! echo "    after $1: $(acc_value 1007), not $2"
}
check "Down, Page Down, Up and Page Up turn the volume to 49, 39, 40 and 50" \
    eval 'knob_keys Down 49 && knob_keys Next 39 && knob_keys Up 40 && knob_keys Prior 50'
after_action "Down, Page Down, Up and Page Up on the volume knob"
for key in Return Escape; do
    xdotool key "$key"
    check "$key on the volume knob leaves the main console shown and the volume at 50" \
        eval 'still_shown && knob_at 50 && focused_on "$E2E_TITLE" 1007'
    after_action "$key on the volume knob"
done
check "Tab reaches the mute switch" tab_to "$E2E_TITLE" 1008
after_action "Tab to the mute switch"
was_muted=$(checked 1008 1 && echo 1 || echo 0)
xdotool key space
check "the space bar switches mute (was $was_muted): its object's checked state follows" \
    eventually checked 1008 $((1 - was_muted))
check "... and the screen shows the mute lamp so" \
    seen eval '[ "$(shows $MUTE 138 && echo 1 || echo 0)" = $((1 - was_muted)) ]'
after_action "the space bar on the mute switch"
check "Tab reaches the close button" tab_to "$E2E_TITLE" 1000
after_action "Tab to the close button"
for key in Return Escape; do
    xdotool key "$key"
    check "$key on the close button leaves the main console shown" still_shown
    after_action "$key on the close button"
done
check "Tab reaches the HIFI button" tab_to "$E2E_TITLE" 1002
after_action "Tab to the HIFI button"
xdotool key Return
check "Enter on it shows the HIFI page" eval 'visible "$HIFI" && hidden "$E2E_TITLE"'
check "... which has the keys on its master switch and shows their mark at once" \
    eval 'eventually focused_on "$HIFI" 1084 && mark_on "$HIFI" 1084 1'
after_action "Enter on the HIFI button"

check "the system close command ends the program" probe post "$E2E_TITLE" 0x0112 0xF060 0
check "the process ends" panel_wait 20
e2e_finish
