# Shared by the reliability scripts that drive the real program (source it after nothing else):
# the end-to-end harness, plus starts and exits that count crashes and hangs, the five windows,
# a pass over every control, and the range checks of what reached the card and CPL.ini.
# The reliability scripts check the screen against a full repaint where they choose to (the
# random input after every batch of events), not after each of their many scripted clicks.
E2E_REPAINT=${E2E_REPAINT:-0}
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

SOAK_LONG=${QUORELLE_SOAK:-0}
MAIN=$E2E_TITLE
# the window titles by page index: main, HIFI, advance, information, headphone
PAGE_TITLES=("$E2E_TITLE" "$E2E_TITLE - Hifi" "$E2E_TITLE - Advance" "$E2E_TITLE - Information"
    "$E2E_TITLE - Headphone")
# the navigation button of each page index in the main window
MAIN_NAV=(1001 1002 1003 1005 1004)
STARTS=0 CRASHES=0 HANGS=0 NOTICES=0
SOAK_ERR=

# soak_start: starts the panel (its stderr kept in SOAK_ERR; Wine's debug channels
# SOAK_WINEDEBUG), closes the notices it shows while it starts, and waits for the main window;
# fails when no main window came within 60 s.
soak_start() {
    SOAK_ERR=$E2E_DIR/panel.err
    : >"$SOAK_ERR"
    (cd "$E2E_DIR" && WINEDEBUG=${SOAK_WINEDEBUG:-$WINEDEBUG} exec wine ./QuorelleCPL.exe) \
        >/dev/null 2>>"$SOAK_ERR" &
    PANEL_PID=$!
    STARTS=$((STARTS + 1))
    local i n
    for ((i = 0; i < 120; i++)); do
        probe wait "$MAIN" 400 && return 0
        n=$(probe dismiss "$MAIN" | wc -l)
        NOTICES=$((NOTICES + n))
        kill -0 "$PANEL_PID" 2>/dev/null || break
    done
    echo "      the main window did not open" >&2
    soak_crashed_or_hung
    return 1
}

# soak_notices: closes the notices on screen now (counted) and waits (up to 10 s) until they
# have gone
soak_notices() {
    local n i
    n=$(probe dismiss "$MAIN" | wc -l)
    NOTICES=$((NOTICES + n))
    for ((i = 0; i < 50 && n > 0; i++)); do
        sleep 0.2
        n=$(probe dismiss "$MAIN" | wc -l)
    done
    return 0
}

# tray_menu_shown_and_gone: the tray icon's right click (posted) opens the menu, which then goes
# again (WM_CANCELMODE); each waited for, up to 10 s
tray_menu_shown_and_gone() {
    probe post "$MAIN" 1129 151 0x204
    probe menu "$MAIN" 10000
    probe send "$MAIN" 0x001F 0 0 >/dev/null
    probe menu "$MAIN" 10000 0
}

# crash signs in the panel's standard error (Wine's unhandled-exception report, the debugger),
# or the crash dialog of Wine's debugger on the screen
soak_crash_signs() {
    grep -Eq 'Unhandled (page fault|exception|stack overflow)|winedbg|Backtrace:|err:seh' \
        "$SOAK_ERR" 2>/dev/null || [ "$(probe count 'Program Error')" != 0 ]
}

# After a failure: counts a crash (the process is gone or reported an exception) or a hang, and
# ends what is left of the process.
soak_crashed_or_hung() {
    if soak_crash_signs || ! kill -0 "$PANEL_PID" 2>/dev/null; then
        CRASHES=$((CRASHES + 1))
        if ! kill -0 "$PANEL_PID" 2>/dev/null; then
            wait "$PANEL_PID" 2>/dev/null
            echo "      the program ended with exit code $?" >&2
        fi
        grep -E -m3 'Unhandled|err:' "$SOAK_ERR" >&2
    else
        HANGS=$((HANGS + 1))
        panel_backtrace
    fi
    [ -n "$PANEL_PID" ] && kill -9 "$PANEL_PID" 2>/dev/null
    quorelle_end_wine
    PANEL_PID=
}

# caught_failures: how many failures the panel's exception barriers caught since it started
# (WM_DIAGNOSTIC_COUNT); empty when the main window did not answer
caught_failures() { probe send "$MAIN" 2027 0 0; }

# soak_exit: "Exit" from the tray menu; the process must end within 20 s with exit code 0 and
# without crash signs, and its exception barriers must have caught nothing during the run.
soak_exit() {
    soak_notices
    local caught
    caught=$(caught_failures)
    probe post "$MAIN" 0x0111 32775 0
    panel_wait 20
    local rc=$?
    if [ "$caught" != 0 ]; then
        echo "      the exception barriers caught ${caught:-an unknown number of} failures" \
            "(the debugger's output shows where: WINEDEBUG=+debugstr)" >&2
    fi
    if [ "$rc" -eq 0 ] && ! soak_crash_signs; then [ "$caught" = 0 ]; return; fi
    echo "      exit code $rc" >&2
    if [ "$rc" -eq 124 ]; then
        HANGS=$((HANGS + 1))
        panel_backtrace
        kill -9 "$PANEL_PID" 2>/dev/null
        quorelle_end_wine
    else
        CRASHES=$((CRASHES + 1))
        grep -E -m3 'Unhandled|err:' "$SOAK_ERR" >&2
    fi
    PANEL_PID=
    return 1
}

# answers TITLE: the window's thread answers a sent message within 5 s
answers() {
    local t
    t=$(probe send "$1" 0 0 0) || return 1
    [ "$t" = 0 ]
}

# soak_alive: the process runs and its main window answers
soak_alive() { kill -0 "$PANEL_PID" 2>/dev/null && answers "$MAIN"; }

# visible_windows: how many of the five windows are visible now
visible_windows() {
    probe windows "$MAIN" | awk -v t="$E2E_TITLE" '$2 == 1 && index($0, t) { n++ } END { print n + 0 }'
}

# show_page N: brings page N's window up through a real click on its navigation button in the
# window on screen (through WM_SHOW_PAGE when no window is visible)
show_page() {
    local n=$1 on=-1 i
    for i in 0 1 2 3 4; do
        [ "$(probe rect "${PAGE_TITLES[$i]}" | cut -d' ' -f5)" = 1 ] && on=$i
    done
    if [ "$on" = "$n" ]; then return 0; fi
    if [ "$on" = 0 ]; then
        click_control "$MAIN" "${MAIN_NAV[$n]}"
    elif [ "$on" -gt 0 ]; then
        click_control "${PAGE_TITLES[$on]}" "$(page_nav_id "$on" "$n")"
    else
        probe send "$MAIN" 2024 0 "$n" >/dev/null
    fi
    visible "${PAGE_TITLES[$n]}"
}

# page_nav_id PAGE TARGET: the id of the navigation button to TARGET in PAGE's window
declare -A NAV_IDS=(
    [1,0]=1075 [1,2]=1078 [1,3]=1083 [1,4]=1081
    [2,0]=1206 [2,1]=1208 [2,3]=1209 [2,4]=1211
    [3,0]=1053 [3,1]=1054 [3,2]=1056 [3,4]=1058
    [4,0]=1181 [4,1]=1183 [4,2]=1184 [4,3]=1188
)
page_nav_id() { echo "${NAV_IDS[$1,$2]}"; }

# step_failed WHAT: says on standard error which step of a page's round failed, and what the
# program had on screen then (its windows: the five, a notice still open, a list left dropped)
step_failed() {
    echo "      $1; the program's shown windows then (visible, place, size, text):" >&2
    probe windows "$MAIN" 2>/dev/null | awk '$2 == 1' | sed 's/^/        /' | head -12 >&2
    echo "        pointer $(probe pointer "$MAIN")" >&2
    return 1
}

# click_every_control PAGE: shows the page through navigation, then a real click at the centre
# of each of its visible controls, in runs of ten, the notices they bring closed after each run;
# its "X" last (the page is then brought back). Counts the clicks in CLICKS; fails when the
# program stopped answering, and says which step failed (step_failed).
CLICKS=0
click_every_control() {
    local page=$1 title=${PAGE_TITLES[$1]} id x y w h v cls close args=() n=0
    show_page "$page" || step_failed "page $page: not shown by its navigation button" || return 1
    close=$([ "$page" = 0 ] && echo 1000 || page_close_id "$page")
    while read -r id x y w h v cls; do
        [ "$v" = 1 ] && [ "$w" -gt 0 ] && [ "$id" != 0 ] && [ "$id" != "$close" ] || continue
        is_nav_id "$page" "$id" && continue
        args+=(mousemove $((x + w / 2)) $((y + h / 2)) click 1 sleep 0.05)
        n=$((n + 1))
        if [ $((n % 10)) = 0 ]; then
            xdotool "${args[@]}"
            args=()
            probe settle "$title" >/dev/null  # a notice a click opens is open before the look
            soak_notices
        fi
    done < <(probe controls "$title")
    [ ${#args[@]} = 0 ] || xdotool "${args[@]}"
    CLICKS=$((CLICKS + n + 1))
    probe settle "$title" >/dev/null
    soak_notices
    xdotool key Escape  # a drop-down list left open
    soak_alive || step_failed "page $page: the program does not answer after the clicks" || return 1
    click_control "$title" "$close"
    hidden "$title" || step_failed "page $page: still shown after a click on its X" || return 1
    probe send "$MAIN" 2024 0 "$page" >/dev/null
    visible "$title" || step_failed "page $page: not shown again by WM_SHOW_PAGE" || return 1
    soak_alive || step_failed "page $page: the program does not answer at the end" || return 1
}

# the close button of a page's window, and whether an id is one of its navigation buttons
declare -A CLOSE_IDS=([1]=1073 [2]=1204 [3]=1051 [4]=1179)
page_close_id() { echo "${CLOSE_IDS[$1]}"; }
is_nav_id() {
    local target
    for target in 0 1 2 3 4; do
        [ "$target" = "$1" ] && continue  # its own button does nothing: clicked like the rest
        if [ "$1" = 0 ]; then
            [ "${MAIN_NAV[$target]}" = "$2" ] && return 0
        else
            [ "${NAV_IDS[$1,$target]:-}" = "$2" ] && return 0
        fi
    done
    return 1
}

# --- ranges ------------------------------------------------------------------------------------
# sets_out_of_range LOG: every set in the card's log whose value lies outside its property's
# range, one line each; nothing when all are in range. Route codes and amplifier settings are
# the card's own answers, so their sets must carry 0 or a number the card answered for them.
sets_out_of_range() {
    awk '
    function num(t) { return match(t, /^-?[0-9]+/) ? substr(t, RSTART, RLENGTH) + 0 : "" }
    /^PropertyControl get (DeviceSpecificControl|HPAmplifierControl) / && / -> 0 answer=/ {
        a = $0; sub(/.* answer=/, "", a); v = num(a)
        if (v != "") answered[$3 " " v] = 1
    }
    /^PropertyControl set / {
        name = $3; d = $5; sub(/^data=/, "", d); v = d + 0; ok = 0
        if (name ~ /^Enable_/) ok = (v == 0 || v == 1)
        else if (name ~ /^EQ_Slider([1-9]|10)$/) ok = (v >= -20 && v <= 20)
        else if (name == "RFX_ROOMSIZE" || name == "ZODOZE_HPSPK_ROOMSIZE") ok = (v >= 0 && v <= 2)
        else if (name == "ZODOZE_HPSPK_USEHP") ok = (v == 0 || v == 1)
        else if (name == "RFX_ENVIRONMENT") ok = (v >= 0 && v <= 26 && v != 1 && v != 4 && v != 8 && v != 23)
        else if (name == "DevSampleRateControl") ok = (v == 44100 || v == 48000 || v == 88200 || v == 96000 || v == 176400 || v == 192000)
        else if (name == "DevBitDepthControl") ok = (v == 16 || v == 24 || v == 32)
        else if (name == "DevChannelNumControl") ok = (v == 2)
        else if (name == "DefaultDeviceControl") ok = (v == 0)
        else if (name == "DeviceSpecificControl" || name == "HPAmplifierControl") ok = (v == 0 || ((name " " v) in answered))
        if (d == "none" || !ok) print
    }' "$1"
}

# keys_out_of_range FILE: every key of CPL.ini outside its range (or unknown), one line each
keys_out_of_range() {
    awk '
    { sub(/\r$/, "") }
    /^\[/ { s = tolower($0); next }
    /^[ \t]*$/ || /^;/ { next }
    {
        k = $0; sub(/=.*/, "", k); v = $0; sub(/^[^=]*=/, "", v); isnum = (v ~ /^-?[0-9]+$/); n = v + 0
        key = s k; ok = 0
        if (key == "[cpl]language") ok = isnum && n >= 0 && n <= 2
        else if (key ~ /^\[cpl\](HeadPhone|DigitalOutSr)$/) ok = isnum && (n == 0 || n == 1)
        else if (key ~ /^\[hifi\](isDrySoundOn|ENVEnable|RoomEnable|Customize)$/) ok = isnum && (n == 0 || n == 1)
        else if (key == "[hifi]InitialButtonOn") ok = isnum && n >= -1 && n <= 3
        else if (key == "[hifi]RegionStyle") ok = isnum && n >= 0 && n <= 4
        else if (key == "[hifi]EQPreset") ok = isnum && n >= 0 && n <= 11
        else if (key ~ /^\[hifi\]eq_[0-9]$/) ok = isnum && n >= -20 && n <= 20
        else if (key ~ /^\[hifi\](Treble|Bass)$/) ok = isnum && n >= 0 && n <= 52
        else if (key == "[hifi]Environment") ok = isnum && n >= 0 && n <= 22
        else if (key == "[hifi]Envdriver") ok = isnum && n >= 0 && n <= 26 && n != 1 && n != 4 && n != 8 && n != 23
        else if (key == "[hifi]RoomSize") ok = isnum && n >= 0 && n <= 2
        else if (key == "[hifi]CustomCount") ok = isnum && n >= 0
        else if (key ~ /^\[hifi\](Custom[0-9]+|CurrentCustom)$/) ok = 1
        else if (key ~ /^\[ad\](DynamicBass|AudioBrilliant|VoiceClarity|AdaptiveVolume)$/) ok = isnum && (n == 0 || n == 1)
        else if (key ~ /^\[hp\](SurroundMax|LowOrHighZ)$/) ok = isnum && (n == 0 || n == 1)
        else if (key ~ /^\[info\](OS|DriverVer|CPLVer)$/) ok = 1
        if (!ok) print s " " $0
    }' "$1"
}

# handles_now: "gdi G windows W" of the panel's process (SOAK_GDI_TYPES=1: by object type too)
handles_now() { probe handles "$MAIN" ${SOAK_GDI_TYPES:+types}; }

# soak_prime: takes the standard controls once through the paths on which the system makes
# objects of its own that live as long as the process (under Wine a brush per system colour and
# the scroll bar's, on first use; opening, scrolling and closing them again adds none): the HIFI
# page's preset list dropped down, scrolled and closed, text selected in the name field, a notice
# (the warning for an empty name) shown and closed, the tray menu walked with the keys. Handle
# counts taken after it show the program's own objects. The list scrolls only with more presets
# than it shows at once (seed_presets).
soak_prime() {
    local hifi=${PAGE_TITLES[1]} x y w h v
    show_page 1 || return 1
    click_control "$hifi" 1164
    read -r x y w h v <<<"$(probe ctlrect "$hifi" 1164)"
    xdotool key Down Down mousemove $((x + w - 5)) $((y + h + 60)) click 1 click 4 click 5 \
        sleep 0.2 key Escape
    click_control "$hifi" 1165
    xdotool key ctrl+a BackSpace
    click_control "$hifi" 1166
    soak_notices
    probe post "$MAIN" 1129 151 0x204
    probe menu "$MAIN" 10000
    xdotool key Down Down Escape
    probe send "$MAIN" 0x001F 0 0 >/dev/null
    probe menu "$MAIN" 10000 0
    soak_notices
}

# seed_presets N: CPL.ini and Custom.ini in E2E_DIR with N user presets ("soak 0" ...), the
# first one chosen
seed_presets() {
    local i b
    {
        printf '[Hifi]\r\nCustomCount=%d\r\nCustomize=1\r\nCurrentCustom=soak 0\r\n' "$1"
        for ((i = 0; i < $1; i++)); do printf 'Custom%d=soak %d\r\n' "$i" "$i"; done
    } >"$E2E_DIR/CPL.ini"
    for ((i = 0; i < $1; i++)); do
        printf '[soak %d]\r\n' "$i"
        for b in 0 1 2 3 4 5 6 7 8 9; do printf 'eq_%d=%d\r\n' "$b" $(((i + b) % 41 - 20)); done
    done >"$E2E_DIR/Custom.ini"
}

# settle_and_count: the same state before each count of handles (every window and the tray
# menu shown once, English, no menu or drop-down list open, the main window on top at one
# place), then the count. The first menu of a process makes the system create its menu objects
# for good (four GDI objects under Wine), so the menu is shown before the first count as well.
settle_and_count() {
    xdotool key Escape
    tray_menu_shown_and_gone
    probe send "$MAIN" 1127 0 2 >/dev/null
    local page
    for page in 1 2 3 4 0; do probe send "$MAIN" 2024 0 "$page" >/dev/null; done
    probe send "$MAIN" 2025 100 100 >/dev/null
    probe settle "$MAIN"
    handles_now
}
