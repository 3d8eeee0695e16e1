#!/usr/bin/env bash
# The HIFI page with real mouse input against the virtual card: the card's curve is read back at
# start; the master switch, the four source switches, region and preset lamps, a band slider, a
# tone knob, previous / next and the room picture (also on each side of the lines between its
# thirds) write CPL.ini and the card (VirtualCard.log) and light their lamps on the screen; a
# band moved with the keys only (Tab, Up, Page Up, End) does the same and is kept; with
# the master off every other press drags the page; a restart keeps every choice, also with the
# master off; the main console's digital output forces the master off. The notification-area
# icon's menu, opened with a real right click on the icon, chooses an EQ preset, a user preset
# and the master switch, whether the page is shown or not, greys what the page would not take
# with the master off, and speaks the three languages. A global key of section Hotkeys, pressed
# as real X input, steps the EQ preset and shows the on-screen display without taking the
# foreground; an events client hears its alert. The tray's "Hot keys…" dialog takes a key
# pressed in its field and saves it, and the key then works.
. "$(dirname "$0")/lib.sh"
e2e_init
e2e_tray
MAIN=$E2E_TITLE
HIFI="$E2E_TITLE - Hifi"
SHOT=$E2E_DIR/hifi.png

# The card holds a user curve, the equalizer and the reverb on, the living room and "Cave"; the
# settings agree with it (mode 3, both reverb switches on).
seed_curve_card
printf '[CPL]\r\nlanguage=2\r\n[Hifi]\r\nisDrySoundOn=1\r\nInitialButtonOn=3\r\nENVEnable=1\r\nRoomEnable=1\r\nEnvironment=6\r\nTreble=20\r\nBass=20\r\n[Hotkeys]\r\nNextPreset=Ctrl+Shift+F11\r\n' >"$E2E_DIR/CPL.ini"

# centre ID: the centre of a control of the page, in the page's client coordinates
centre() {
    local c at
    c=($(probe ctlrect "$HIFI" "$1")) && at=($(spot "$HIFI" "$1")) || return 1
    echo $((at[0] + c[2] / 2)) $((at[1] + c[3] / 2))
}
press() { click_control "$HIFI" "$1"; }
# shows ID IMAGE: a fresh screenshot shows skin image IMAGE whole at control ID
shows() { screenshot "$HIFI" "$SHOT" && shows_image "$SHOT" $(spot "$HIFI" "$1") "$2"; }
lit() { eventually shows "$1" "$2"; }
# panel IMAGE: the environment panel shows IMAGE at the right end of its middle row, where no
# line of the list is drawn over it
panel() {
    local at
    at=($(spot "$HIFI" 1170))
    screenshot "$HIFI" "$SHOT" &&
        [ "$(pixel "$SHOT" $((at[0] + $(px 134))) $((at[1] + $(px 30))))" = \
            "$(pixel "$(skin_image "$1")" "$(px 134)" "$(px 30)")" ]
}
# drag_from X Y: a real press at a client point of the page, moved by (30, 20) logical pixels;
# STAYED and MOVED: the page's corner before it, and where the page goes if it moves with it
drag_from() {
    local before dx dy
    dx=$(px 30) dy=$(px 20)
    before=($(corner "$HIFI")) || return 1
    drag $((before[0] + $1)) $((before[1] + $2)) "$dx" "$dy"
    STAYED="${before[0]} ${before[1]}"
    MOVED="$((before[0] + dx)) $((before[1] + dy))"
}
# drags_from X Y: the page moves with that drag (within 10 s); stays_at_drag_from X Y: it has
# not moved once the drag is over
drags_from() { drag_from "$@" && at "$HIFI" "$MOVED"; }
stays_at_drag_from() { drag_from "$@" && [ "$(corner "$HIFI")" = "$STAYED" ]; }
# environment N DRIVER: the file holds environment N and its driver number
environment() { ini_is Hifi Environment "$1" && ini_is Hifi Envdriver "$2"; }
# environments_sent N: the card was given an environment N times since the mark
environments_sent() { [ "$(since_mark | grep -c "set RFX_ENVIRONMENT")" = "$1" ]; }
# list_shows NAME: the environment list shows NAME
list_shows() { [ "$(probe text "$HIFI" 1172)" = "$1" ]; }
open_hifi() {
    click_control "$MAIN" 1002
    visible "$HIFI"
}

check "the main window opens" panel_start
check "the HIFI page opens" open_hifi

# --- start: the card's state comes back into the file and the page ----------------------------
check "start: the card's bands are stored (mode 3)" \
    eventually eval '[ "$(ini Hifi eq_0)" = 6 ] && [ "$(ini Hifi eq_4)" = -4 ] && [ "$(ini Hifi eq_9)" = 12 ]'
check "start: the room size comes from the card" eventually ini_is Hifi RoomSize 2
check "start: the curve goes back to the card once" \
    eventually eval '[ "$(grep -c "set EQ_Slider10 dev=10,1,0,1 data=12 " "$E2E_DIR/VirtualCard.log")" -ge 1 ]'
check "start: master, equalizer and defined-EQ lamps lit" \
    eval 'lit 1084 131 && lit 1094 136 && lit 1114 146'
check "start: the environment panel and the living room lamp lit" eval 'eventually panel 189 && lit 1109 133'
check "start: the list shows the card's environment" eventually list_shows Cave

# --- a band slider, dragged in mode 3 -----------------------------------------------------------
mark_log
r=($(probe ctlrect "$HIFI" 1116))
drag $((r[0] + $(px 8))) $((r[1] + $(px 48))) 0 "$(px -30)"
check "a dragged band slider writes its key" eventually eval '[ "$(ini Hifi eq_1)" -gt 0 ]'
check "... sends the band to the card" logged "set EQ_Slider2 dev=10,1,0,1 data=$(ini Hifi eq_1) "
check "... and clears Customize" eventually ini_is Hifi Customize 0

# --- a band drag whose release goes to another program -----------------------------------------
# Mid-drag another program comes to the front and takes the mouse, and the release goes to it
# (the panel keeps its capture under Wine; only the next move says the button is up). The
# pointer then hovers down across the band with no button down: band 30 stays where the drag
# left it, and the page takes clicks again.
r=($(probe ctlrect "$HIFI" 1115))
x=$((r[0] + r[2] / 2))
xdotool mousemove --sync $x $((r[1] + $(px 48))) mousedown 1
for dy in 10 20; do
    sleep 0.05
    xdotool mousemove --sync $x $((r[1] + $(px $((48 - dy)))))
done
check "band 30 follows the held button up to 10" eventually ini_is Hifi eq_0 10
check "another program comes to the front mid-drag and gets the release" release_elsewhere
for i in 0 1 2 3 4 5 6 7 8; do
    xdotool mousemove --sync $x $((r[1] + i * (r[3] - 1) / 8))
    sleep 0.05
done
button_up_aside
after_action "a band drag whose release went to another program, then a hover across the band"
# the click that shows the page answers again also shows that the moves before it were handled
click_control "$HIFI" 1165
check "... a click on the name field gives it the focus" eventually focus_is "$HIFI" 1165
check "... band 30 stays where the drag left it (eq_0 10 within 1, its slider too)" \
    eval 'near "$(ini Hifi eq_0)" 10 && near "$(acc_value "$HIFI" 1115)" 10'

# --- the keyboard: the 30 Hz band keyed in mode 3 ------------------------------------------------
# band_is VALUE: the 30 Hz band shows VALUE (its accessible value), eq_0 holds it and the card
# was last sent it
band_shows() { probe acc "$HIFI" 1115 | tr '\t' '\n' | sed -n 's/^value=//p'; }
band_is() {
    [ "$(band_shows)" = "$1" ] && ini_is Hifi eq_0 "$1" &&
        [ "$(since_mark | grep -Eo 'set EQ_Slider1 dev=[^ ]+ data=-?[0-9]+ ' | tail -n 1 |
            sed 's/.*data=//; s/ $//')" = "$1" ]
}
focused_on() { [ "$(probe focused "$HIFI")" = "active 1 focus $1" ]; }
tab_to() { # tab_to ID: Tab, at most 60 times, until control ID has the keyboard focus
    local i
    for ((i = 0; i < 60; i++)); do
        focused_on "$1" && return 0
        xdotool key Tab
        sleep 0.1
    done
    focused_on "$1" || ! echo "    $(probe focused "$HIFI")"
}
check "Tab reaches the 30 Hz band" tab_to 1115
after_action "Tab to the 30 Hz band"
band=$(band_shows)
mark_log
for key in Up Up Up Prior End; do
    case $key in
        Up) band=$((band + 1 > 20 ? 20 : band + 1)) ;;
        Prior) band=$((band + 20 > 20 ? 20 : band + 20)) ;;
        End) band=-20 ;;
    esac
    xdotool key "$key"
    check "the key $key shows $band on the 30 Hz band, writes eq_0=$band and sends it" \
        eventually band_is "$band"
    after_action "the key $key on the 30 Hz band"
done

# --- source switches and lamps -------------------------------------------------------------
mark_log
press 1088
check "region switch: mode 1" eventually ini_is Hifi InitialButtonOn 1
check "region switch: the equalizer and defined-EQ lamps go dark" \
    eval 'lit 1088 136 && lit 1094 135 && lit 1114 145'
press 1097
check "region lamp 1: RegionStyle=1" eventually ini_is Hifi RegionStyle 1
check "region lamp 1: the USA curve goes to the card" logged "set EQ_Slider1 dev=[^ ]+ data=7 "
check "region lamp 1 is lit" lit 1097 146
mark_log
press 1090
press 1104
check "preset switch and lamp 7: EQPreset=7, mode 2" \
    eventually eval 'ini_is Hifi EQPreset 7 && ini_is Hifi InitialButtonOn 2'
check "preset 7: the Jazz curve goes to the card" logged "set EQ_Slider1 dev=[^ ]+ data=-8 "
check "preset lamp 7 lit, region switch dark" eval 'lit 1104 146 && lit 1088 135'
check "a region lamp with its switch dark does not drag the page" stays_at_drag_from $(centre 1098)
check "... and changes nothing" ini_is Hifi RegionStyle 1

# --- tone: switch and a knob turned by a real drag ---------------------------------------------
mark_log
press 1085
check "tone switch: mode 0" eventually ini_is Hifi InitialButtonOn 0
r=($(probe ctlrect "$HIFI" 1007))
side=$((r[2] < r[3] ? r[2] : r[3]))
x=$((r[0] + side - $(px 3)))
y=$((r[1] + side / 2))
xdotool mousemove --sync $x $y mousedown 1
for i in 1 2 3 4 5; do xdotool mousemove --sync $x $((y + $(px $((i % 2))))); sleep 0.05; done
xdotool mouseup 1
sleep 0.4
after_action "a knob turned"
check "the treble knob turned up writes Treble" eventually eval '[ "$(ini Hifi Treble)" -gt 20 ]'
check "... and its curve reaches the 4K band" \
    logged "set EQ_Slider8 dev=[^ ]+ data=$(($(ini Hifi Treble) - 20)) "
# the keys on the knob the drag left the focus on turn it as a knob turns and stop at its ends
# (0 and 40): it never jumps round to the other end, where the card would get a full boost
# treble_keys KEY COUNT TREBLE: COUNT real presses of KEY leave Treble at TREBLE and the 4K band
# the card got last at TREBLE - 20
last_treble_band() {
    since_mark | grep -Eo "set EQ_Slider8 dev=[^ ]+ data=-?[0-9]+" | tail -n 1 | sed "s/.*data=//"
}
treble_is() { ini_is Hifi Treble "$1" && [ "$(last_treble_band)" = $(($1 - 20)) ]; }
treble_keys() {
    local i
    for ((i = 0; i < $2; i++)); do xdotool key "$1"; sleep 0.1; done
    eventually treble_is "$3" || ! echo "    Treble $(ini Hifi Treble), the 4K band sent last $(last_treble_band)"
}
treble=$(ini Hifi Treble)
mark_log
check "Up on the treble knob turns it up one step" treble_keys Up 1 $((treble + 1))
check "Page Up five times stops it at 40, the drag's end" treble_keys Prior 5 40
check "... and Right leaves it there" treble_keys Right 1 40
after_action "keys on the treble knob"
check "Page Down five times stops it at 0" treble_keys Next 5 0
mark_log
xdotool key Left
xdotool key Down
sleep 0.5
check "Left and Down at 0 leave it at 0, and the card gets no boost" \
    eval 'treble_keys Left 1 0 && ! since_mark | grep -Eq "set EQ_Slider(8|9|10) dev=[^ ]+ data=([1-9]|20) "'
after_action "Left and Down at the treble knob's end"

# --- environment and room --------------------------------------------------------------------
mark_log
press 1169
check "next: Environment 7, driver 10 sent" \
    eval 'eventually environment 7 10 && logged "set RFX_ENVIRONMENT dev=[^ ]+ data=10 "'
check "next: the list moves on" eventually list_shows Arena
press 1168
press 1168
check "previous twice: Environment 5, driver 7 sent" \
    eval 'eventually environment 5 7 && logged "set RFX_ENVIRONMENT dev=[^ ]+ data=7 "'
mark_log
double_click_control "$HIFI" 1169
check "two quick clicks on next step twice: Environment 7, driver 10 sent twice" \
    eval 'eventually eval "environment 7 10 && environments_sent 2" &&
    logged "set RFX_ENVIRONMENT dev=[^ ]+ data=10 "'
mark_log
p=($(centre 1112))
check "the room picture's bottom third drags the page" drags_from ${p[0]} $((p[1] + $(px 18)))
check "... after choosing the bedroom" \
    eval 'eventually ini_is Hifi RoomSize 0 && logged "set RFX_ROOMSIZE dev=[^ ]+ data=0 "'
check "... whose lamp is lit" lit 1111 133
# a click on the device pixel either side of the lines between the thirds (logical rows 16
# and 32 of the picture begin the middle and the bottom third): EDGE SIDE SIZE LAMP
at=($(spot "$HIFI" 1112))
at=($(logical "${at[0]}") $(logical "${at[1]}"))
for room in "32 -1 1 1110" "16 -1 2 1109" "16 0 1 1110" "32 0 0 1111"; do
    set -- $room
    mark_log
    press_at "$HIFI" "$(px $((at[0] + 25)))" $(($(px $((at[1] + $1))) + $2))
    check "the room picture's pixel $2 from its line at $1 chooses room size $3" \
        eval "eventually ini_is Hifi RoomSize $3 && logged 'set RFX_ROOMSIZE dev=[^ ]+ data=$3 ' && lit $4 133"
done
mark_log
check "the environment switch acts, then drags" drags_from $(centre 1096)
check "... switching the reverb off" \
    eval 'eventually ini_is Hifi ENVEnable 0 && logged "set Enable_RFX_GFX dev=[^ ]+ data=0 "'
press 1096  # on again

# --- master off ------------------------------------------------------------------------------
mark_log
press 1084
check "master off writes isDrySoundOn=0" eventually ini_is Hifi isDrySoundOn 0
check "... switches both effects off on the card" \
    eval 'logged "set Enable_EQ_GFX dev=[^ ]+ data=0 " && logged "set Enable_RFX_GFX dev=[^ ]+ data=0 "'
check "... and sends no band" bash -c "! grep -q 'set EQ_Slider' <(tail -n +$((LOG_MARK + 1)) '$E2E_DIR/VirtualCard.log')"
check "... every lamp goes dark" eval 'lit 1084 130 && lit 1085 135 && eventually panel 188'
check "with the master off a press on the tone switch drags the page" drags_from $(centre 1085)
check "... and the mode stays" ini_is Hifi InitialButtonOn 0

# --- restart with the master off -------------------------------------------------------------
probe post "$MAIN" 0x0112 0xF060 0
check "the panel ends" panel_wait 20
# an environment index from beyond the list
sed -i -E 's/^Environment=[^\r]*/Environment=99999999999/' "$E2E_DIR/CPL.ini"
# two user presets, for the menu below
WARM=(3 2 1 0 0 0 -1 -2 -3 -4)
BRIGHT=(-6 -4 -2 0 2 4 6 8 10 12)
sed -i 's/^\[Hifi\]\r$/[Hifi]\r\nCustomCount=2\r\nCustom0=Warm\r\nCustom1=Bright\r/' "$E2E_DIR/CPL.ini"
{
    printf '[Warm]\r\n'
    for i in 0 1 2 3 4 5 6 7 8 9; do printf 'eq_%d=%d\r\n' "$i" "${WARM[i]}"; done
    printf '[Bright]\r\n'
    for i in 0 1 2 3 4 5 6 7 8 9; do printf 'eq_%d=%d\r\n' "$i" "${BRIGHT[i]}"; done
} >"$E2E_DIR/Custom.ini"
check "the panel starts again" panel_start
check "the HIFI page opens again" open_hifi
check "after the restart every choice is kept" eval 'ini_is Hifi isDrySoundOn 0 &&
    ini_is Hifi InitialButtonOn 0 && ini_is Hifi ENVEnable 1 && ini_is Hifi RoomEnable 1 &&
    ini_is Hifi RoomSize 0 && ini_is Hifi Environment 99999999999 && ini_is Hifi EQPreset 7'
check "... and the master lamp is dark" lit 1084 130
check "... the keyed 30 Hz band is kept: eq_0=-20, shown on its slider" \
    eval 'ini_is Hifi eq_0 -20 && [ "$(band_shows)" = -20 ]'
mark_log
press 1084
check "master on brings the tone curve and the reverb back" \
    eval 'logged "set EQ_Slider1 dev=[^ ]+ data=0 " && logged "set Enable_RFX_GFX dev=[^ ]+ data=1 "'
check "... and lights the tone switch and the bedroom" eval 'lit 1085 136 && lit 1111 133'
mark_log
press 1168
check "previous from an index beyond the list lands on the last entry: 22, driver 26" \
    eval 'eventually environment 22 26 && logged "set RFX_ENVIRONMENT dev=[^ ]+ data=26 " &&
    eventually list_shows Psychotic'

# --- the notification-area icon's menu ------------------------------------------------------
# The icon shows in Wine's own tray window at the screen's top-left; the panel moves below it.
click_control "$HIFI" 1075
visible "$MAIN"
tray=($(probe rect "$E2E_TRAY"))
probe send "$MAIN" 2025 0 $((tray[1] + tray[3] + $(px 10))) >/dev/null
# bands_sent: "band:value " of the last ten bands sent to the card since the mark, in order
bands_sent() {
    since_mark | grep -Eo 'set EQ_Slider[0-9]+ dev=[^ ]+ data=-?[0-9]+' | tail -n 10 |
        sed -E 's/set EQ_Slider([0-9]+) .*data=/\1:/' | tr '\n' ' '
}
# curve NAME: the same for the ten values of the array NAME
curve() {
    local -n values=$1
    local i
    for i in 0 1 2 3 4 5 6 7 8 9; do printf '%d:%d ' $((i + 1)) "${values[i]}"; done
}
JAZZ=(-8 6 0 8 -8 10 -2 13 8 1)
METAL=(12 7 -3 4 13 8 3 -3 8 12)
# level_is SUBMENU LINE...: the items of that sub-menu of the shown menu, "TEXT MARKS" in order
level_is() {
    local name=$1 got
    shift
    got=$(menu_level "$name")
    [ "$got" = "$(printf '%s\n' "$@")" ] || ! echo "      read: $(echo "$got" | tr '\n' '|')" >&2
}
# top_level: "TEXT ID" of the shown menu's items and of its sub-menus' items (indented), the user
# presets' level left out
top_level() {
    menu_items | awk -F'\t' '/^popup$/ { n++; next } n == 1 && !/^    / { print $1, $2 }'
}
# user_presets: "NAME MARKS" of the items under Equalizer
user_presets() { menu_items | awk -F'\t' '/^    [^ ]/ { sub(/^ +/, "", $1); print $1, $3 }'; }
# has_item LINE: the Sound sub-menu (in the current language) has the item "TEXT MARKS"
has_item() { menu_level "$SOUND" | grep -qxF "$1"; }
has_items() {
    local item
    for item; do has_item "$item" || ! echo "      missing: $item" >&2 || return 1; done
}

SOUND=Sound
check "a real right click on the icon in Wine's tray opens the menu" menu_open
check "the menu: Sound before Quorelle DIVO, every old item as it was" eval '[ "$(top_level)" = \
    "$(printf "%s\n" "language 0" "  简体 32780" "  繁体 32781" "  English 32782" "Sound 0" \
        "  Dry Sound 33001" "   0" "  Default 33010" "  Bass 33011" "  Treble 33012" \
        "  Live 33013" "  Rock 33014" "  Soft Rock 33015" "  Dance 33016" "  Jazz 33017" \
        "  Metal 33018" "  Rap 33019" "  Classic 33020" "  Vocal 33021" "  Pure Monitor 33030" \
        "  USA Style 33031" "  England 33032" "  Japan Style 33033" "  Germany 33034" \
        "  Equalizer 0" "   0" "  Environment 33002" "Start with Windows 34200" \
        "Hot keys… 34201" "Quorelle DIVO 32774" "Exit 32775")" ]'
check "... the tone knobs' mode checks no source; the master and the environment are checked" \
    level_is Sound "Dry Sound checked" - "Default radio" "Bass radio" "Treble radio" \
    "Live radio" "Rock radio" "Soft Rock radio" "Dance radio" "Jazz radio" "Metal radio" \
    "Rap radio" "Classic radio" "Vocal radio" "Pure Monitor radio" "USA Style radio" \
    "England radio" "Japan Style radio" "Germany radio" "Equalizer radio popup" - \
    "Environment checked"
check "... the user presets are under Equalizer" \
    eval '[ "$(user_presets)" = "$(printf "%s\n" "Warm radio" "Bright radio")" ]'
# the keys: S opens Sound, Z is Jazz's
mark_log
menu_keys s z
check "Jazz chosen with the menu's access keys: EQPreset=7, mode 2" \
    eventually eval 'ini_is Hifi EQPreset 7 && ini_is Hifi InitialButtonOn 2'
check "... the Jazz curve goes to the card, band by band" \
    eventually eval '[ "$(bands_sent)" = "$(curve JAZZ)" ]'
check "... and the menu is gone" probe menu "$MAIN" 5000 0
after_action "Jazz chosen from the menu"
check "the HIFI page opened afterwards shows the preset switch and Jazz lit, the tone switch dark" \
    eval 'open_hifi && lit 1090 136 && lit 1104 146 && lit 1085 135 && lit 1089 145'

# a user preset, chosen with real clicks while the page is shown
check "the menu opens over the page" menu_open
mark_log
check "Sound, Equalizer, Bright clicked" \
    eval 'menu_click Sound && menu_click Equalizer && menu_click Bright'
check "... Bright becomes the current preset, in mode 3" eventually eval 'ini_is Hifi CurrentCustom Bright &&
    ini_is Hifi Customize 1 && ini_is Hifi InitialButtonOn 3'
check "... its bands go to the card" eventually eval '[ "$(bands_sent)" = "$(curve BRIGHT)" ]'
after_action "Bright chosen from the menu over the page"
check "... the page lights the equalizer and defined-EQ lamps, darkens the preset switch and Jazz" \
    eval 'lit 1094 136 && lit 1114 146 && lit 1090 135 && lit 1104 145'
check "... its list shows Bright, the 30 Hz and 16K bands show its values" \
    eval '[ "$(probe text "$HIFI" 1164)" = Bright ] && [ "$(acc_value "$HIFI" 1115)" = "${BRIGHT[0]}" ] &&
    [ "$(acc_value "$HIFI" 1124)" = "${BRIGHT[9]}" ]'

# a choice acts on what the menu showed: the master goes off (an assistive tool's action on the
# page) while the menu shows "Dry Sound" ticked; the ticked item then leaves it off, and the
# bands show what the card plays once the master is on again
check "the menu opens over the page, Dry Sound ticked" eval 'menu_open && has_item "Dry Sound checked"'
probe accdo "$HIFI" 1084 >/dev/null
check "... the master goes off on the page while the menu is open" eventually ini_is Hifi isDrySoundOn 0
mark_log
menu_click Sound && menu_click "Dry Sound"
sleep 1
check "... choosing the ticked Dry Sound leaves it off" \
    eval 'ini_is Hifi isDrySoundOn 0 && ! since_mark | grep -q "set Enable_EQ_GFX dev=[^ ]* data=1 "'
after_action "the ticked Dry Sound chosen after the master went off"
mark_log
press 1084
check "master on again on the page: the card plays Bright's curve, which the bands show" \
    eval 'eventually ini_is Hifi isDrySoundOn 1 && ! since_mark | grep -q "set EQ_Slider" &&
    [ "$(acc_value "$HIFI" 1115)" = "${BRIGHT[0]}" ] && [ "$(acc_value "$HIFI" 1124)" = "${BRIGHT[9]}" ]'

# the master switch off over the page, then the menu with the master off
check "the menu opens over the page again" menu_open
mark_log
menu_click Sound && menu_click "Dry Sound"
check "Dry Sound off from the menu: isDrySoundOn=0, both effects off on the card" \
    eventually eval 'ini_is Hifi isDrySoundOn 0 && logged "set Enable_EQ_GFX dev=[^ ]+ data=0 " &&
    logged "set Enable_RFX_GFX dev=[^ ]+ data=0 "'
after_action "Dry Sound off from the menu over the page"
check "... the page's master and equalizer lamps go dark" eval 'lit 1084 130 && lit 1094 135'
check "with the master off the menu greys every choice but Dry Sound, and checks none" eval 'menu_open &&
    level_is Sound "Dry Sound" - "Default radio greyed" "Bass radio greyed" "Treble radio greyed" \
    "Live radio greyed" "Rock radio greyed" "Soft Rock radio greyed" "Dance radio greyed" \
    "Jazz radio greyed" "Metal radio greyed" "Rap radio greyed" "Classic radio greyed" \
    "Vocal radio greyed" "Pure Monitor radio greyed" "USA Style radio greyed" \
    "England radio greyed" "Japan Style radio greyed" "Germany radio greyed" \
    "Equalizer radio greyed popup" - "Environment greyed"'
check "... the user presets too" \
    eval '[ "$(user_presets)" = "$(printf "%s\n" "Warm radio greyed" "Bright radio greyed")" ]'
mark_log
check "... a click on the greyed Jazz changes nothing" eval 'menu_click Sound && menu_click Jazz &&
    menu_close && ini_is Hifi isDrySoundOn 0 && ini_is Hifi InitialButtonOn 3 &&
    [ -z "$(since_mark | grep " set ")" ]'
after_action "the menu closed"

# the master switch on while the page is hidden
click_control "$HIFI" 1075
visible "$MAIN"
check "the menu opens over the main console" menu_open
mark_log
menu_click Sound && menu_click "Dry Sound"
check "Dry Sound on from the menu while the page is hidden: the effects on again" \
    eventually eval 'ini_is Hifi isDrySoundOn 1 && logged "set Enable_EQ_GFX dev=[^ ]+ data=1 " &&
    logged "set Enable_RFX_GFX dev=[^ ]+ data=1 "'
after_action "Dry Sound on from the menu"
check "the HIFI page opened afterwards shows the master, equalizer and defined-EQ lamps lit, Bright" \
    eval 'open_hifi && lit 1084 131 && lit 1094 136 && lit 1114 146 &&
    [ "$(probe text "$HIFI" 1164)" = Bright ]'

# "Start with Windows" writes this copy's start at sign-in (its quoted path and /tray), ticks,
# and removes it again; the value is removed at the end whatever happens, since a Wine prefix
# runs the start list's programs when it starts
RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
SIGNIN="Quorelle Control Panel"
trap 'wine reg delete "$RUN" /v "$SIGNIN" /f >/dev/null 2>&1; e2e_cleanup' EXIT
signin_value() { wine reg query "$RUN" /v "$SIGNIN" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'; }
START=("开机时启动" "開機時啟動" "Start with Windows")
wine reg delete "$RUN" /v "$SIGNIN" /f >/dev/null 2>&1
check "the menu shows Start with Windows unticked" eval 'menu_open && [ "$(menu_marks "Start with Windows")" = - ]'
menu_click "Start with Windows"
check "... choosing it writes the start at sign-in of this copy, with /tray" eventually eval \
    '[ "$(signin_value)" = "\"$(winepath -w "$E2E_DIR/QuorelleCPL.exe" 2>/dev/null)\" /tray" ]'
check "... the menu then ticks it" eval 'menu_open && [ "$(menu_marks "Start with Windows")" = checked ]'
menu_click "Start with Windows"
check "... and choosing it again removes the value" eventually eval '[ -z "$(signin_value)" ]'
wine reg add "$RUN" /v "$SIGNIN" /d '"C:\Other\QuorelleCPL.exe" /tray' /f >/dev/null 2>&1
check "a value for another copy leaves the item unticked" \
    eval 'menu_open && [ "$(menu_marks "Start with Windows")" = - ] && menu_close'
wine reg delete "$RUN" /v "$SIGNIN" /f >/dev/null 2>&1

# the three languages: the sub-menu follows the language, the old items stay as they are
for lang in 0 1 2; do
    probe send "$MAIN" 0x0111 $((32780 + lang)) 0 >/dev/null
    case $lang in
        0) KEYS="热键(H)…" SOUND=音效 want=("HIFI直通 checked" "爵士 radio" "英式风格 radio" "均衡器 checked radio popup" "环境效果 checked") ;;
        1) KEYS="熱鍵(H)…" SOUND=音效 want=("HIFI直通 checked" "爵士 radio" "英式風格 radio" "均衡器 checked radio popup" "環境效果 checked") ;;
        2) KEYS="Hot keys…" SOUND=Sound want=("Dry Sound checked" "Jazz radio" "England radio" "Equalizer checked radio popup" "Environment checked") ;;
    esac
    check "language $lang: the menu opens" menu_open
    check "... its sub-menu is $SOUND, between the old items as they were" eval '[ "$(top_level |
        grep -v "^ ")" = "$(printf "%s\n" "language 0" "$SOUND 0" "${START[lang]} 34200" \
            "$KEYS 34201" "Quorelle DIVO 32774" "Exit 32775")" ] &&
        [ "$(top_level | sed -n "2,4p")" = "$(printf "%s\n" "  简体 32780" "  繁体 32781" "  English 32782")" ]'
    check "... ${want[*]}: in it, marked as the page shows" \
        has_items "${want[@]}"
    check "... Bright checked under it" eval '[ "$(user_presets)" = "$(printf "%s\n" "Warm radio" "Bright checked radio")" ]'
    check "... and the menu closes" menu_close
    after_action "the menu closed in language $lang"
done

# --- a global key: NextPreset=Ctrl+Shift+F11, stored before the start -------------------------
# Jazz is the last preset chosen, Bright in mode 3 shows: the key lights the preset switch and
# steps to Metal, with no window brought to the front for it.
# (the probe's own output, unbuffered: "ready" must show while it listens)
ALERTS=$E2E_DIR/alerts.txt
wine "$E2E_PROBE" alert - 20000 >"$ALERTS" 2>/dev/null &
ALERT_PID=$!
heard_ready() { grep -q ready "$ALERTS"; }
check "an events client listens for alerts" eventually heard_ready
FRONT=$(probe foreground -)
mark_log
xdotool key ctrl+shift+F11
OSD="EQ Preset: Metal"
check "Ctrl+Shift+F11 as real X input: EQPreset=8 (Metal) in mode 2" \
    eventually eval 'ini_is Hifi EQPreset 8 && ini_is Hifi InitialButtonOn 2'
check "... the card gets the Metal curve, band by band" \
    eventually eval '[ "$(bands_sent)" = "$(curve METAL)" ]'
check "... the display shows \"$OSD\"" visible "$OSD"
check "... the foreground window stays \"$FRONT\"" eval '[ "$(probe foreground -)" = "$FRONT" ]'
check "... the display sits at the bottom centre of the screen" eval 'r=($(probe rect "$OSD")) &&
    w=$(xdpyinfo | awk "/dimensions:/ { split(\$2, d, \"x\"); print d[1] }") &&
    [ $((2 * r[0] + r[2] - w)) -ge -2 ] && [ $((2 * r[0] + r[2] - w)) -le 2 ]'
check "... and goes away by itself" hidden "$OSD"
wait "$ALERT_PID"
check "... an events client heard the alert \"$OSD\" with the alert role" \
    eval 'tr -d "\r" <"$ALERTS" | grep -qxF "alert role=0x08 name=$OSD"'
check "the HIFI page on screen shows the preset switch and Metal lit, Jazz dark" \
    eval 'lit 1090 136 && lit 1105 146 && lit 1104 145'
after_action "the next preset key"

# --- the Hot keys dialog: a key set with a real key press in its field, saved, then used --------
KEYS="Hot Keys"
check "Hot keys… chosen from the menu opens the dialog, the Dry Sound field focused" \
    eval 'menu_open && menu_click "Hot keys…" && visible "$KEYS" &&
    [ "$(probe focused "$KEYS")" = "active 1 focus 200" ]'
check "... Dry Sound has no key, Ctrl+Shift+F11 (next preset) works" \
    eval '[ "$(probe text "$KEYS" 400)" = None ] && [ "$(probe text "$KEYS" 401)" = Works ]'
# (F11 alone: an Alt tap on the page, as in Alt+F11, puts it in the system menu's keyboard mode)
xdotool key F11
click_control "$KEYS" 1
check "F11 pressed in the field and saved: CPL.ini DrySound=F11, shown as working" \
    eventually eval 'ini_is Hotkeys DrySound F11 && [ "$(probe text "$KEYS" 400)" = Works ]'
xdotool key Escape
check "... Escape closes the dialog" probe gone "$KEYS" 10000
mark_log
xdotool key F11
check "F11 as real X input: Dry Sound off, the effects off on the card, the display says so" \
    eval 'eventually ini_is Hifi isDrySoundOn 0 && logged "set Enable_EQ_GFX dev=[^ ]+ data=0 " &&
    visible "Dry Sound: Off"'
check "... the page shows the master off" lit 1084 130
xdotool key F11
check "F11 again while the display shows: Dry Sound on, the display's text replaced" \
    eval 'eventually ini_is Hifi isDrySoundOn 1 && visible "Dry Sound: On" && lit 1084 131 &&
    [ "$(probe count "Dry Sound: Off")" = 0 ]'
after_action "Dry Sound off and on with its key"

# --- the main console's digital output forces the master off -------------------------------
click_control "$HIFI" 1075
visible "$MAIN"
mark_log
click_control "$MAIN" 1037
check "digital output on: isDrySoundOn=0 and the effects off on the card" \
    eval 'eventually ini_is Hifi isDrySoundOn 0 && logged "set Enable_EQ_GFX dev=[^ ]+ data=0 "'
check "the HIFI page shows the master off" eval 'open_hifi && lit 1084 130'
check "the master switch now drags the page and stays off" drags_from $(centre 1084)
check "... isDrySoundOn stays 0" ini_is Hifi isDrySoundOn 0

probe post "$MAIN" 0x0112 0xF060 0
check "the panel ends" panel_wait 20
e2e_finish
