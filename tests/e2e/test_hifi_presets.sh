#!/usr/bin/env bash
# The user equalizer presets with real keys and clicks against the virtual card: a typed name is
# added and kept in Custom.ini and CPL.ini, a moved band detaches it, a name that exists or that
# the files cannot hold is refused with a message and leaves both files as they were, the list
# and the remembered preset come back after a restart, a preset chosen in the drop-down list
# reaches the card, "-" deletes it and "reset" flattens the bands. The panel runs once in the
# ANSI code page 1252 (Chinese names refused) and once in 936 (Chinese names kept).
. "$(dirname "$0")/lib.sh"
e2e_init
MAIN=$E2E_TITLE
HIFI="$E2E_TITLE - Hifi"
for want in en_US zh_CN; do
    locale -a 2>/dev/null | grep -qi "^$want\.utf-\?8$" ||
        { echo "FAIL  the $want.UTF-8 locale is missing (tools/setup.sh makes it)"; exit 1; }
done

# The card's equalizer is on with a curve; the page is in mode 3 with no preset shown.
cat >"$E2E_DIR/VirtualCard.state" <<'EOF'
10 0 1 Enable_EQ_GFX
10 0 5 EQ_Slider1
10 0 -3 EQ_Slider10
EOF
printf '[CPL]\r\nlanguage=2\r\n[Hifi]\r\nisDrySoundOn=1\r\nInitialButtonOn=3\r\nCustomize=0\r\n' \
    >"$E2E_DIR/CPL.ini"

start_in() {  # start_in LOCALE: the panel in that locale, with its HIFI page shown
    export LANG=$1.UTF-8
    panel_start && click_control "$MAIN" 1002 && visible "$HIFI"
}
stop_panel() {
    probe post "$MAIN" 0x0112 0xF060 0
    panel_wait 20
}
# name TEXT: types TEXT into the name field with real keys, one character at a time (a
# character the keyboard mapping is still being changed for can be lost: then once more)
name() {
    local attempt k
    for attempt in 1 2; do
        click_control "$HIFI" 1165
        xdotool key End shift+Home Delete
        for ((k = 0; k < ${#1}; k++)); do
            xdotool type --delay 60 "${1:k:1}"
        done
        eventually field_is "$1" && return 0
    done
    return 1
}
field_is() { [ "$(probe text "$HIFI" 1165)" = "$1" ]; }
add() { click_control "$HIFI" 1166; }
# warned TEXT: a message box "Warning" with TEXT is shown; its OK button is clicked
warned() {
    probe wait Warning 5000 && [ "$(probe text Warning 65535)" = "$1" ] &&
        click_control Warning 1 && probe gone Warning 5000
}
shown() { [ "$(probe text "$HIFI" 1164)" = "$1" ]; }  # shown NAME: the list's face
custom() { ini "$1" "$2" Custom.ini; }                  # custom SECTION KEY
files_as_saved() { cmp -s "$E2E_DIR/CPL.ini" "$E2E_DIR/cpl.saved" &&
    cmp -s "$E2E_DIR/Custom.ini" "$E2E_DIR/custom.saved"; }
save_files() { cp "$E2E_DIR/CPL.ini" "$E2E_DIR/cpl.saved"; cp "$E2E_DIR/Custom.ini" "$E2E_DIR/custom.saved"; }

# --- code page 1252 ------------------------------------------------------------------------
check "the panel starts in code page 1252" start_in en_US
check "start: the card's curve is in the bands" eventually eval 'ini_is Hifi eq_0 5 && ini_is Hifi eq_9 -3'
# the keyboard's focus mark through the name field's warning: a key shows the marks, "+" with
# the field empty is refused, and once the box is gone the screen shows what a full repaint
# shows (the mark on "+", which has the focus again)
xdotool key Down
sleep 0.3
after_action "the Down key on the page"
click_control "$HIFI" 1165
# caret_seen: the empty field's caret stands clear of the field's dark frame, and one of a few
# screenshots (it blinks) shows it standing out from the face beside it
caret_seen() {
    local c f i at beside
    c=($(probe caret "$HIFI")) && f=($(probe ctlrect "$HIFI" 1165)) && [ "${c[0]}" = 1165 ] ||
        return 1
    [ $((c[1] - f[0])) -ge $(px 3) ] || ! echo "    the caret is $((c[1] - f[0])) px into the field" || return 1
    for ((i = 0; i < 8; i++)); do
        import -window root -crop "$((c[3] + $(px 6)))x1+${c[1]}+$((c[2] + c[4] / 2))" +repage \
            -depth 8 gray:"$E2E_DIR/caret.gray" 2>/dev/null || return 1
        at=$(od -An -tu1 -N1 "$E2E_DIR/caret.gray" | tr -d ' ')
        beside=$(od -An -tu1 -j $((c[3] + $(px 4))) -N1 "$E2E_DIR/caret.gray" | tr -d ' ')
        [ $((at > beside ? at - beside : beside - at)) -ge 96 ] && return 0
        sleep 0.15
    done
    echo "    the caret's pixel $at, the face beside it $beside"
    return 1
}
check "the empty name field's caret shows inside the field" caret_seen
add
check "+ with the name field empty is refused" warned "Please specify a valid name."
sleep 0.3
after_action "the warning box closed"
check "a name typed with real keys" name "Club Mix"
mark_log
add
check "+ stores the bands under the name" \
    eventually eval '[ "$(custom "Club Mix" eq_0)" = 5 ] && [ "$(custom "Club Mix" eq_9)" = -3 ]'
check "... lists it in CPL.ini" eventually eval 'ini_is Hifi Custom0 "Club Mix" && ini_is Hifi CustomCount 1 &&
    ini_is Hifi CurrentCustom "Club Mix" && ini_is Hifi Customize 1'
check "... shows it and empties the field" eventually eval 'shown "Club Mix" && field_is ""'
check "... and leaves the card alone" bash -c "! grep -q 'set EQ_Slider' <(tail -n +$((LOG_MARK + 1)) '$E2E_DIR/VirtualCard.log')"

r=($(probe ctlrect "$HIFI" 1115))
drag $((r[0] + $(px 8))) $((r[1] + $(px 48))) 0 "$(px -26)"
check "a moved band detaches the preset" eval 'eventually ini_is Hifi Customize 0 && eventually shown ""'
# the press puts the thumb's centre on the track's middle (0) and the drag takes it 26 logical
# pixels up, where the band reads 13
check "... and records the band where the drag left it" eventually ini_is Hifi eq_0 13
band=$(ini Hifi eq_0)
name "Live Set" && add
check "a second preset takes the new curve" \
    eventually eval '[ "$(custom "Live Set" eq_0)" = "$band" ] && ini_is Hifi Custom1 "Live Set" && ini_is Hifi CustomCount 2'

save_files
name "club mix" && add
check "a name that exists in other letters is refused" warned "This name already exists."
check "... the field is emptied and both files stay as they were" \
    eval 'field_is "" && files_as_saved'
name "[Live]" && add
check "a name with a bracket is refused" warned "Please specify a valid name."
check "... and both files stay as they were" files_as_saved
check "a Chinese name is typed" name "摇滚"
add
check "code page 1252 cannot hold it: refused, saying why" \
    warned "The settings file cannot keep the characters of this name on this system. Please choose another name."
check "... and both files stay as they were" files_as_saved
check "the panel ends" stop_panel

# --- after a restart: the list, the remembered preset, choosing, deleting, reset ----------
mark_log
check "the panel starts again" start_in en_US
check "the remembered preset is shown" eventually shown "Live Set"
check "... on the skinned face: the screen equals a full repaint" repainted
check "... and its curve goes to the card" logged "set EQ_Slider1 dev=10,1,0,1 data=$band "
mark_log
r=($(probe ctlrect "$HIFI" 1164))
click_control "$HIFI" 1164
xdotool mousemove --sync $((r[0] + $(px 30))) $((r[1] + r[3] + $(px 8))) click 1
sleep 0.4
after_action "a choice in the drop-down list"
check "Club Mix chosen in the drop-down list" \
    eventually eval 'shown "Club Mix" && ini_is Hifi CurrentCustom "Club Mix"'
check "... reaches the card" logged "set EQ_Slider1 dev=10,1,0,1 data=5 "
# the list keeps the focus: the arrow keys choose too
mark_log
xdotool key Down
sleep 0.4
after_action "the Down key on the list"
check "Down chooses Live Set" eval 'eventually eval "shown \"Live Set\" && ini_is Hifi CurrentCustom \"Live Set\"" &&
    logged "set EQ_Slider1 dev=10,1,0,1 data=$band "'
xdotool key Up
sleep 0.4
after_action "the Up key on the list"
check "Up chooses Club Mix again" \
    eventually eval 'shown "Club Mix" && ini_is Hifi CurrentCustom "Club Mix"'
mark_log
click_control "$HIFI" 1167
check "- removes it and closes the gap" eventually eval 'ini_is Hifi Custom0 "Live Set" && ini_is Hifi Custom1 "" &&
    ini_is Hifi CustomCount 1'
check "... Live Set is shown and applied" eval 'eventually shown "Live Set" && logged "set EQ_Slider1 dev=[^ ]+ data=$band "'
check "... Club Mix's section stays in Custom.ini" eval '[ "$(custom "Club Mix" eq_0)" = 5 ]'
mark_log
click_control "$HIFI" 1163
check "reset flattens the bands on the card and in the file" \
    eval 'logged "set EQ_Slider1 dev=[^ ]+ data=0 " && eventually eval "ini_is Hifi eq_0 0 && ini_is Hifi Customize 0"'
check "... and no preset is shown" eventually shown ""
check "the panel ends" stop_panel

# --- code page 936 -------------------------------------------------------------------------
check "the panel starts in code page 936" start_in zh_CN
check "a Chinese name is typed" name "摇滚"
add
gbk=$(printf '摇滚' | iconv -f UTF-8 -t GBK)
check "code page 936 keeps it in both files" eventually eval 'ini_is Hifi Custom1 "$gbk" &&
    [ "$(custom "$gbk" eq_0)" = 0 ] && ini_is Hifi CurrentCustom "$gbk"'
check "the panel ends" stop_panel
check "after a restart in 936 the Chinese preset is shown again" \
    eval 'start_in zh_CN && eventually shown "摇滚"'
double_click_control "$HIFI" 1167
check "two quick clicks on - delete both presets" \
    eventually eval 'ini_is Hifi CustomCount 0 && ini_is Hifi Custom0 "" && ini_is Hifi Custom1 "" && shown ""'
check "the panel ends" stop_panel
e2e_finish
