#!/usr/bin/env bash
# The five windows as a screen reader sees them from another process (MSAA, e2eprobe acc*): every
# child control answers with an object of its own, a role other than client and a name, in
# English and in Simplified Chinese; its invisible, focusable, checked and unavailable states
# follow the window; default actions and a value set through the objects act as clicks and drags
# do (CPL.ini, the card) without moving the window; Tab and Shift+Tab move the focus and its mark
# through the advance page, the space bar lights a lamp and Enter puts it out.
. "$(dirname "$0")/lib.sh"
e2e_init
MAIN=$E2E_TITLE
HIFI="$E2E_TITLE - Hifi"
ADV="$E2E_TITLE - Advance"
INFO="$E2E_TITLE - Information"
HP="$E2E_TITLE - Headphone"
WINDOWS=("$MAIN" "$HIFI" "$ADV" "$INFO" "$HP") # by WM_SHOW_PAGE's page number
LABELS=(main HIFI advance information headphone)

# The card holds a user curve with the equalizer on; the HIFI master is lit, in mode 3; the
# version texts are there as the setup writes them.
seed_curve_card
printf '%s\r\n' '[CPL]' language=2 '[Hifi]' isDrySoundOn=1 InitialButtonOn=3 '[Ad]' DynamicBass=0 \
    '[Info]' 'OS=Windows 10' DriverVer=6.0.9.1 CPLVer=1.2.0 >"$E2E_DIR/CPL.ini"

# show PAGE: WM_SHOW_PAGE to the main window, then wait for the page's window
show() { probe send "$MAIN" 2024 0 "$1" >/dev/null && visible "${WINDOWS[$1]}"; }

# load TITLE: the objects of the window's controls (e2eprobe acclist) into ROLE, STATE, KIDS,
# NAME and VALUE, keyed by "ID" or "ID.CHILD"
declare -A ROLE STATE KIDS NAME VALUE
load() {
    local id role state kids name value
    ROLE=() STATE=() KIDS=() NAME=() VALUE=()
    while IFS=$'\t' read -r id role state kids name value _; do
        ROLE[$id]=${role#role=} STATE[$id]=${state#state=} KIDS[$id]=${kids#children=}
        NAME[$id]=${name#name=} VALUE[$id]=${value#value=}
    done < <(probe acclist "$1")
}
# has BIT ID: the loaded state of ID holds BIT
has() { [[ ${STATE[$2]:-} == 0x* ]] && (($1 & STATE[$2])); }
# line ID [NOTE]: the loaded fields of ID, for a failure's report
line() {
    echo "    $1${2:+ $2}: role=${ROLE[$1]:-} state=${STATE[$1]:-} children=${KIDS[$1]:-}" \
        "name=${NAME[$1]:-} value=${VALUE[$1]:-}"
}

# every control and element of window TITLE has a role other than client and a name; a text is
# named by what it shows, so an empty one (the environment list with the reverb off) has none
# (prints the first misses)
all_named() {
    local id bad=0
    ((${#ROLE[@]} > 0)) || { echo "    no control answered"; return 1; }
    for id in "${!ROLE[@]}"; do
        [[ ${ROLE[$id]} == 0x* && ${ROLE[$id]} != 0x0a && -n ${NAME[$id]} ]] && continue
        [[ ${ROLE[$id]} == 0x29 && -z ${NAME[$id]} && -z $(probe text "$1" "$id") ]] && continue
        ((bad++ < 5)) && line "$id"
    done
    ((bad > 5)) && echo "    ... $bad of ${#ROLE[@]}"
    ((bad == 0))
}
# the invisible bit is set exactly on the controls that are not visible (e2eprobe controls)
invisible_agrees() {
    local id visible bad=0
    while read -r id _ _ _ _ visible _; do
        [ -n "${ROLE[$id]:-}" ] || continue
        if has 0x8000 "$id"; then [ "$visible" = 0 ]; else [ "$visible" = 1 ]; fi && continue
        line "$id" "(visible $visible)"
        bad=1
    done < <(probe controls "$1")
    return $bad
}
# the controls a person works on a page (check and push buttons, sliders, dials, combo boxes,
# fields) are focusable when shown, available and not read-only
focusable() {
    local id bad=0 worked=0
    for id in "${!ROLE[@]}"; do
        case ${ROLE[$id]} in 0x2c | 0x2b | 0x33 | 0x31 | 0x2e | 0x2a) ;; *) continue ;; esac
        worked=$((worked + 1))
        has 0x8041 "$id" || has 0x100000 "$id" || { line "$id" && bad=1; }
    done
    ((worked > 0)) || echo "    no control has the role of one a person works"
    ((bad == 0 && worked > 0))
}
# expect COLUMN ENTRY...: each entry "ID|ROLE|ENGLISH|CHINESE|CHILDREN" matches the loaded role,
# the name of COLUMN (3 English, 4 Chinese) and the number of children, where given
expect() {
    local col=$1 entry f bad=0
    shift
    for entry; do
        IFS='|' read -r -a f <<<"$entry"
        [ "${ROLE[${f[0]}]:-}" = "${f[1]}" ] &&
            { [ -z "${f[col - 1]:-}" ] || [ "${NAME[${f[0]}]:-}" = "${f[col - 1]}" ]; } &&
            { [ -z "${f[4]:-}" ] || [ "${KIDS[${f[0]}]:-}" = "${f[4]}" ]; } && continue
        line "${f[0]}" "(expected role=${f[1]} name=${f[col - 1]:-} children=${f[4]:-})"
        bad=1
    done
    return $bad
}
EXPECT_MAIN=(
    "1007|0x31|Master|主音量" "1010|0x33|Balance|平衡" "1008|0x2c|Mute|静音"
    "1002|0x2b|Hifi Set|HIFI设置" "1000|0x2b|Close|关闭" "1013|0x2d|48 kHz" "1038|0x2d"
    "1018|0x14|||6" "1018.1|0x2d|Sample Rate: 44.1 kHz|采样率设置：44.1 kHz" "1018.2|0x2d" "1018.3|0x2d" "1018.4|0x2d"
    "1018.5|0x2d" "1018.6|0x2d")
EXPECT_HIFI=(
    "1084|0x2c|Dry Sound|HIFI直通" "1099|0x2d|Japan Style|日式风格" "1115|0x33|30 Hz"
    "1007|0x31|Treble level|高音调节" "1093|0x2d|Treble|高音" "1169|0x2b|Next environment" "1166|0x2b|Add preset" "1164|0x2e"
    "1165|0x2a" "1112|0x14|||3" "1112.1|0x2d" "1112.2|0x2d" "1112.3|0x2d")
EXPECT_ADV=("1192|0x2c|Dynamic Bass|动态低音")
EXPECT=(EXPECT_MAIN EXPECT_HIFI EXPECT_ADV)

# acc_line TITLE ID [CHILD] / acc_field KEY TITLE ID [CHILD]: one control's object
acc_line() { probe acc "$@" | tr '\t' ' '; }
acc_field() {
    local key=$1
    shift
    probe acc "$@" | tr '\t' '\n' | sed -n "s/^$key=//p"
}
# state_is TITLE ID BIT 1|0: within 10 s the control has a role of its own (not client) and
# its state holds BIT (1) or not (0); prints the control's last line when not
state_is() {
    local i f
    for ((i = 0; i < 25; i++)); do
        f=($(probe acc "$1" "$2" | cut -f1,2 | sed 's/[a-z]*=//g'))
        [[ ${f[0]:-} == 0x* && ${f[0]} != 0x0a && ${f[1]:-} == 0x* ]] &&
            (((($3 & f[1]) != 0) == $4)) && return 0
        sleep 0.2
    done
    echo "    $2: $(acc_line "$1" "$2")"
    return 1
}
# answers COMMAND...: an accdo or accset that must answer S_OK (prints the probe's answer when not)
answers() {
    local out
    out=$(probe "$@") || { echo "    $*: ${out:-no answer}"; return 1; }
}
stays() { [ "$(probe rect "$1")" = "$2" ]; } # stays TITLE RECT: the window has not moved

check "the main window opens" panel_start

# --- roles, names and states in English, then in Simplified Chinese ----------------------------
for page in 0 1 2 3 4; do
    title=${WINDOWS[$page]} label=${LABELS[$page]}
    show "$page"
    load "$title"
    check "$label: every control answers with a role and a name" all_named "$title"
    check "$label: invisible exactly where not shown" invisible_agrees "$title"
    check "$label: the controls a person works are focusable" focusable
    if ((page < 3)); then
        table="${EXPECT[$page]}[@]"
        check "$label: roles and English names" expect 3 "${!table}"
    fi
    case $page in
        0) check "main: the knob's value is a number" eval '[[ ${VALUE[1007]:-} =~ ^-?[0-9]+ ]] || ! line 1007' ;;
        1) check "HIFI: the lit master switch is checked and available" \
            eval 'has 0x10 1084 && ! has 0x1 1084 || ! line 1084' ;;
    esac
done
probe send "$MAIN" 1127 0 0 >/dev/null
for page in 0 1 2 3 4; do
    title=${WINDOWS[$page]} label=${LABELS[$page]}
    show "$page"
    load "$title"
    check "$label, Chinese: every control has a role and a name" all_named "$title"
    if ((page < 3)); then
        table="${EXPECT[$page]}[@]"
        check "$label: Chinese names" expect 4 "${!table}"
    fi
done
probe send "$MAIN" 1127 0 2 >/dev/null

# --- default actions and values on the HIFI page ------------------------------------------------
show 0
place=$(corner "$MAIN")
check "main: the HIFI button's default action" answers accdo "$MAIN" 1002
after_action "the HIFI button's default action"
check "... shows the HIFI page in the main window's place" \
    eval 'visible "$HIFI" && at "$HIFI" "$place"'
visible "$HIFI" || show 1 # the page's own checks go on without the button
place=$(probe rect "$HIFI")

mark_log
check "the master switch's default action" answers accdo "$HIFI" 1084
after_action "the master switch's default action"
check "... switches the master off: isDrySoundOn=0, the equalizer off on the card" \
    eval 'eventually ini_is Hifi isDrySoundOn 0 && logged "set Enable_EQ_GFX dev=[^ ]+ data=0 "'
check "... the master switch is no longer checked" state_is "$HIFI" 1084 0x10 0
check "... a region lamp is unavailable" state_is "$HIFI" 1099 0x1 1
check "... the master switch is not" state_is "$HIFI" 1084 0x1 0
check "... the page has not moved" stays "$HIFI" "$place"
# refused: probe ARGS... answers an error, and the program, once it has handled it, sent nothing
# to the card
refused() {
    local out
    mark_log
    out=$(probe "$@") && { echo "    $*: S_OK, for an action that does nothing"; return 1; }
    probe settle "$MAIN" >/dev/null
    ! since_mark | grep ' set ' || ! echo "    $*: $out, and the card was set"
}
check "... the action of a region lamp, which a click would not work now, answers an error" \
    refused accdo "$HIFI" 1099
check "the master switch's default action again" answers accdo "$HIFI" 1084
after_action "the master switch on again"
check "... switches it on" eval 'eventually ini_is Hifi isDrySoundOn 1 && state_is "$HIFI" 1084 0x10 1'

check "the region switch's default action" answers accdo "$HIFI" 1088
after_action "the region switch's default action"
check "... mode 1" eventually ini_is Hifi InitialButtonOn 1
mark_log
check "region lamp 4's default action" answers accdo "$HIFI" 1099
after_action "region lamp 4's default action"
check "... RegionStyle=3" eventually ini_is Hifi RegionStyle 3
# the Japan Style curve, 30 Hz to 16 kHz
japan=(-4 3 0 4 -4 5 -1 7 4 1)
japan_sent() {
    local band
    for band in 1 2 3 4 5 6 7 8 9 10; do
        logged "set EQ_Slider$band dev=[^ ]+ data=${japan[band - 1]} " || return 1
    done
}
check "... sends the Japan Style curve" japan_sent
check "... and is checked" state_is "$HIFI" 1099 0x10 1
check "... the page has not moved" stays "$HIFI" "$place"

check "the equalizer switch's default action" answers accdo "$HIFI" 1094
after_action "the equalizer switch's default action"
check "... mode 3, the switch checked" \
    eval 'eventually ini_is Hifi InitialButtonOn 3 && state_is "$HIFI" 1094 0x10 1'
check "the 30 Hz slider's value is its band's" \
    eval '[ "$(acc_field value "$HIFI" 1115)" = "$(ini Hifi eq_0)" ] ||
        ! echo "    1115: $(acc_line "$HIFI" 1115)"'
mark_log
check "setting the 30 Hz slider's value to 5" answers accset "$HIFI" 1115 5
after_action "the 30 Hz slider set to 5"
check "... writes eq_0=5 and sends the band" \
    eval 'eventually ini_is Hifi eq_0 5 && logged "set EQ_Slider1 dev=[^ ]+ data=5 "'
check "... the slider's value is 5" eval '[ "$(acc_field value "$HIFI" 1115)" = 5 ]'
check "... the page has not moved" stays "$HIFI" "$place"

# the name field takes a value as typed text, which the page then stores as a preset's name
check "setting the name field's value to Mine" answers accset "$HIFI" 1165 Mine
check "... the field shows it, and so does its value" \
    eval '[ "$(probe text "$HIFI" 1165)" = Mine ] && [ "$(acc_field value "$HIFI" 1165)" = Mine ]'
check "the add button's default action" answers accdo "$HIFI" 1166
check "... stores the preset Mine with the 30 Hz band at 5" \
    eval 'eventually ini_is Hifi CurrentCustom Mine && [ "$(ini Mine eq_0 Custom.ini)" = 5 ]'
# the same name again: a notice, which disables the page while it waits; a tool's action and
# value are refused until it goes (the band's value is 5 already: setting it changes nothing)
probe accset "$HIFI" 1165 Mine >/dev/null
probe accdo "$HIFI" 1166 >/dev/null
check "... the same name again: a notice disables the page, whose band refuses a value" \
    eventually eval '! probe accset "$HIFI" 1115 5 >/dev/null'
check "... and whose master switch refuses its action" refused accdo "$HIFI" 1084
check "... the notice says the name exists" eval 'probe dismiss "$MAIN" | grep -q "already exists"'
check "... once it has gone, the band takes a value again" eventually probe accset "$HIFI" 1115 5

# --- the keyboard on the advance page ------------------------------------------------------------
show 0
place=$(corner "$MAIN")
check "main: the advance button's default action" answers accdo "$MAIN" 1003
after_action "the advance button's default action"
check "... shows the advance page in the main window's place" \
    eval 'visible "$ADV" && at "$ADV" "$place"'
visible "$ADV" || show 2
check "the Dynamic Bass lamp is not checked" state_is "$ADV" 1192 0x10 0
# mark_is ID 1|0: within 10 s a fresh screenshot shows the focus mark's ice blue on the middle
# of control ID's left edge (1) or not (0)
MARK_SEEN=
mark_now() {
    local w c
    w=($(probe rect "$ADV")) && c=($(probe ctlrect "$ADV" "$1")) || return 1
    screenshot "$ADV" "$E2E_DIR/mark.png" || return 1
    MARK_SEEN=$(pixel "$E2E_DIR/mark.png" $((c[0] - w[0])) $((c[1] + c[3] / 2 - w[1])))
    if (($2)); then [ "$MARK_SEEN" = "srgb(79,195,255)" ]; else [ "$MARK_SEEN" != "srgb(79,195,255)" ]; fi
}
mark_is() { eventually mark_now "$@" || ! echo "    the left edge of $1 is $MARK_SEEN"; }
check "a page opened without the keyboard shows no focus mark" mark_is 1192 0
tabbed() { # Tab, at most 30 times, until the lamp has the keyboard focus
    local i before
    for ((i = 1; i <= 30; i++)); do
        # each Tab once the one before it has moved the focus, so none goes past the lamp
        before=$(probe focused "$ADV")
        xdotool key Tab
        eventually eval '[ "$(probe focused "$ADV")" != "$before" ]'
        [ "$(probe focused "$ADV")" = "active 1 focus 1192" ] && TABBED=1 && return 0
    done
    echo "    $(probe focused "$ADV")"
    return 1
}
check "Tab reaches the Dynamic Bass lamp" tabbed
check "... whose object reports the focus" state_is "$ADV" 1192 0x4 1
check "... and which shows the focus mark" mark_is 1192 1
focus_on() { [ "$(probe focused "$ADV")" = "active 1 focus $1" ]; }
keyed() { # keyed KEY ID: after KEY the control ID has the keyboard focus
    xdotool key "$1"
    eventually focus_on "$2"
}
check "Shift+Tab goes back to the last control, the information page's button" \
    keyed shift+Tab 1209
check "... the mark moved with it" eval 'mark_is 1209 1 && mark_is 1192 0'
check "Tab comes round to the Dynamic Bass lamp again" keyed Tab 1192
mark_log
if [ "${TABBED:-}" = 1 ]; then # elsewhere the space bar would press another control
    xdotool key space
    sleep 0.4
    after_action "the space bar on the Dynamic Bass lamp"
fi
check "the space bar lights it: DynamicBass=1, the effect on the card" \
    eval 'eventually ini_is Ad DynamicBass 1 && logged "set Enable_VIRTUALBASS_LFX dev=[^ ]+ data=1 "'
check "... and it is checked" state_is "$ADV" 1192 0x10 1
mark_log
xdotool key Return
after_action "Enter on the Dynamic Bass lamp"
check "Enter switches it off again: DynamicBass=0, the effect off on the card" \
    eval 'eventually ini_is Ad DynamicBass 0 && logged "set Enable_VIRTUALBASS_LFX dev=[^ ]+ data=0 "'

probe post "$MAIN" 0x0111 32775 0
check "the program ends" panel_ends
e2e_finish
