# End-to-end harness: the real QuorelleCPL.exe, started under Wine + Xvfb from a fresh copy of
# build/dist in a temporary directory, driven by real X input (xdotool) and read back through
# e2eprobe (window texts and rectangles), screenshots, CPL.ini and VirtualCard.log.
# Source it from a test script; call e2e_init first, and end with e2e_finish.
set -uo pipefail
QUORELLE_ROOT=${QUORELLE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
. "$QUORELLE_ROOT/tools/wine-env.sh"

E2E_TITLE="Vandrexo Quorelle PCI-E Audio Device"
E2E_PROBE=$QUORELLE_ROOT/build/win/tests/e2e/e2eprobe.exe
E2E_FAILS=0
E2E_CHECKS=0
PANEL_PID=

e2e_cleanup() {
    [ -n "$PANEL_PID" ] && kill "$PANEL_PID" 2>/dev/null
    quorelle_end_wine
    quorelle_systray N
    quorelle_stop_xvfb
    [ -n "${E2E_DIR:-}" ] && [ -z "${E2E_KEEP_DIR:-}" ] && rm -rf "$E2E_DIR"
}

# A fresh copy of the distribution in E2E_DIR; a display; the prefix.
e2e_init() {
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/quorelle-e2e.XXXXXX")
    cp "$QUORELLE_ROOT"/build/dist/* "$E2E_DIR"/
    quorelle_start_xvfb
    trap e2e_cleanup EXIT
    quorelle_prepare_prefix
}

probe() { wine "$E2E_PROBE" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# Starts the panel in the background (PANEL_PID) and waits for its main window.
panel_start() {
    (cd "$E2E_DIR" && exec wine ./QuorelleCPL.exe) >/dev/null 2>"$E2E_DIR/panel.err" &
    PANEL_PID=$!
    probe wait "$E2E_TITLE" 30000
}

# Waits for the panel's process to end; its exit code, or 124 after the time-out (seconds).
panel_wait() {
    local limit=${1:-20} i
    for ((i = 0; i < limit * 10; i++)); do
        if ! kill -0 "$PANEL_PID" 2>/dev/null; then
            wait "$PANEL_PID"
            local rc=$?
            PANEL_PID=
            return $rc
        fi
        sleep 0.1
    done
    return 124
}

# panel_backtrace: where each thread of a panel that no longer answers stands (Wine's debugger
# attached for a moment), on standard error
panel_backtrace() {
    local wpid
    wpid=$(wine winedbg --command "info proc" 2>/dev/null | tr -d '\r' |
        awk '/QuorelleCPL\.exe/ { print $1; exit }')
    [ -n "$wpid" ] || return 0
    echo "      the threads of the program that no longer answers:" >&2
    printf 'bt all\ndetach\nquit\n' | timeout 120 wine winedbg "0x$wpid" 2>&1 | tr -d '\r' |
        awk '/^Backtracing for thread/ { ours = /QuorelleCPL\.exe/ } ours' |
        sed 's/^/      /' | head -400 >&2
}

# Waits up to 20 s for the panel to end with status 0; otherwise says how it ended and what Wine
# printed for it, so that a rare fault at the end can be told from a slow one.
panel_ends() {
    local rc=0
    panel_wait 20 || rc=$?
    [ "$rc" -eq 0 ] && return 0
    if [ "$rc" -eq 124 ]; then
        echo "      the panel still runs after 20 s; its windows:"
        probe windows "$E2E_TITLE" | sed 's/^/      /' | head -20
        panel_backtrace 2>&1
    else
        echo "      the panel ended with status $rc"
    fi
    grep -v '^fixme:' "$E2E_DIR/panel.err" 2>/dev/null | tail -20 | sed 's/^/      /'
    return "$rc"
}

# Screenshot of the screen area of a window (X screenshot: child windows included).
# screenshot TITLE FILE
screenshot() {
    local rect
    rect=$(probe rect "$1") || return 1
    set -- "$2" $rect
    import -window root -crop "${4}x${5}+${2}+${3}" +repage "$1"
}

# After every real click and drag: the screen shows what a full repaint of the panel's windows
# shows, so nothing is left stale on it (E2E_REPAINT=0 leaves the check out). On a difference
# the probe names the window and the area, and keeps both grabs as $E2E_DIR/stale.*.bmp. The
# check reports on standard error, so that a helper whose output is read keeps its own.
E2E_REPAINT=${E2E_REPAINT:-1}
repainted() {
    local out rc
    out=$(probe stale "$E2E_TITLE" "$(winepath -w "$E2E_DIR/stale" 2>/dev/null)")
    rc=$?
    if [ "$rc" -ne 0 ]; then
        echo "$out"
        # E2E_STALE_KEEP=DIR keeps the grabs of each difference there
        [ -n "${E2E_STALE_KEEP:-}" ] && mkdir -p "$E2E_STALE_KEEP" &&
            for f in "$E2E_DIR"/stale.*.bmp; do cp "$f" "$E2E_STALE_KEEP/$E2E_CHECKS.${f##*/}"; done
    fi
    return "$rc"
}
after_action() {  # after_action WHAT
    [ "$E2E_REPAINT" = 1 ] && [ -n "$PANEL_PID" ] && kill -0 "$PANEL_PID" 2>/dev/null || return 0
    check "the screen equals a full repaint after $1" repainted >&2
}

# The pause after each real click or drag below keeps the next one from making a double click
# with it; it is no wait for an effect: the checks wait for theirs (eventually, logged, ...), and
# the repaint check first waits until the program has handled the input.

# Clicks with real X input at the centre of a control: click_control TITLE ID
click_control() {
    local rect x y id=$2
    rect=$(probe ctlrect "$1" "$2") || return 1
    set -- $rect
    x=$(($1 + $3 / 2))
    y=$(($2 + $4 / 2))
    xdotool mousemove --sync "$x" "$y" click 1
    sleep 0.4
    after_action "a click on control $id"
}

# Two quick clicks (0.1 s apart) with real X input at the centre of a control:
# double_click_control TITLE ID
double_click_control() {
    local rect id=$2
    rect=($(probe ctlrect "$1" "$2")) || return 1
    xdotool mousemove --sync $((rect[0] + rect[2] / 2)) $((rect[1] + rect[3] / 2)) \
        click --repeat 2 --delay 100 1
    sleep 0.4
    after_action "a double click on control $id"
}

# Drags with real X input from (x, y) by (dx, dy): drag X Y DX DY
drag() {
    xdotool mousemove --sync "$1" "$2" mousedown 1
    sleep 0.2
    xdotool mousemove --sync $(($1 + $3 / 2)) $(($2 + $4 / 2))
    sleep 0.1
    xdotool mousemove --sync $(($1 + $3)) $(($2 + $4))
    sleep 0.2
    xdotool mouseup 1
    sleep 0.4
    after_action "a drag from $1 $2 by $3 $4"
}

# release_elsewhere: with the left button held in a drag of the panel, another program comes to
# the front and takes the mouse (e2eprobe grab), and the button's release goes to it; true when
# that program got the release. X keeps counting the button down for the panel's window until
# it comes up there: button_up_aside then lets it up at the screen's bottom-right corner, away
# from the panel's windows.
E2E_GRAB="Quorelle e2e grab"
release_elsewhere() { probe grab "$E2E_GRAB" 10000 >/dev/null; }
button_up_aside() {
    xdotool mousemove --sync $((1280 * QUORELLE_DPI / 96 - 3)) $((1024 * QUORELLE_DPI / 96 - 3)) \
        mouseup 1
}

# mark_on TITLE ID 1|0: within 10 s a fresh screenshot shows the keyboard's focus mark (its ice
# blue on the middle of control ID's left edge, a round mark's one pixel further in) or not
MARK_SEEN=
mark_now() {
    local w c inset=${4:-0}
    w=($(probe rect "$1")) && c=($(probe ctlrect "$1" "$2")) || return 1
    screenshot "$1" "$E2E_DIR/mark.png" || return 1
    MARK_SEEN=$(pixel "$E2E_DIR/mark.png" $((c[0] - w[0] + inset)) $((c[1] + c[3] / 2 - w[1])))
    if (($3)); then [ "$MARK_SEEN" = "srgb(79,195,255)" ]; else [ "$MARK_SEEN" != "srgb(79,195,255)" ]; fi
}
mark_on() { eventually mark_now "$@" || ! echo "    the left edge of $2 is $MARK_SEEN"; }
# focused_on TITLE ID: the window is its thread's active window and control ID has the keys
focused_on() { [ "$(probe focused "$1")" = "active 1 focus $2" ]; }
# focus_is TITLE ID: control ID of the window has its thread's keyboard focus
focus_is() { [ "$(probe focused "$1" | cut -d' ' -f4)" = "$2" ]; }
# acc_value TITLE ID: the value a control's accessible object gives (a knob's position, a band's
# value)
acc_value() { probe acc "$1" "$2" | tr '\t' '\n' | sed -n 's/^value=//p'; }
# near VALUE WANT: VALUE is a number within 1 of WANT
near() { [[ $1 =~ ^-?[0-9]+$ ]] && [ $(($1 - $2)) -ge -1 ] && [ $(($1 - $2)) -le 1 ]; }

# "x y" of a window's top-left corner
corner() { probe rect "$1" | cut -d' ' -f1,2; }
# visible TITLE / hidden TITLE: waits up to 10 s for the window to be shown / hidden
visible() { probe wait "$1" 10000; }
hidden() {
    local i
    for ((i = 0; i < 100; i++)); do
        [ "$(probe rect "$1" | cut -d' ' -f5)" = 0 ] && return 0
        sleep 0.1
    done
    return 1
}
# at TITLE "X Y": waits up to 10 s for the window's top-left corner to be there
at() {
    local i
    for ((i = 0; i < 100; i++)); do
        [ "$(corner "$1")" = "$2" ] && return 0
        sleep 0.1
    done
    return 1
}

# eventually COMMAND...: retries the command for up to 10 s until it succeeds
eventually() {
    local i
    for ((i = 0; i < 50; i++)); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

# --- the display scale ----------------------------------------------------------------------
# The windows are drawn at $QUORELLE_DPI: a length or place the scripts know in 96-DPI logical
# pixels (an offset inside a control, a point of a window, a drag) is px N device pixels there,
# rounded as the program converts its edges: floor((N * dpi + 48) / 96), also for negative N.
px() {
    local a=$(($1 * QUORELLE_DPI + 48))
    echo $(((a - (a % 96 + 96) % 96) / 96))
}
# logical D: the logical pixel that holds device pixel D (the program's conversion of a mouse
# point), so that px $(( $(logical D) + N )) is the pixel N logical pixels past a control's
# converted edge D, inside the same logical pixel the program sees at 96 DPI
logical() {
    local a=$(($1 * 96 + 47))
    echo $(((a - (a % QUORELLE_DPI + QUORELLE_DPI) % QUORELLE_DPI) / QUORELLE_DPI))
}

# --- reading the panel's effects back ------------------------------------------------------
E2E_SKIN=$QUORELLE_ROOT/build/native/skin
# skin_image ID: the file of skin image ID as the panel draws it at $QUORELLE_DPI: the 100 %
# bitmap at 96 DPI, else the PNG of the drawn scale (dpi * 100 / 96 percent)
skin_image() {
    if [ "$QUORELLE_DPI" = 96 ]; then
        echo "$E2E_SKIN/bmp$1.bmp"
    else
        echo "$QUORELLE_ROOT/build/native/skin-scales/$((QUORELLE_DPI * 100 / 96))/bmp$1.png"
    fi
}

# pixel FILE X Y: the colour of one pixel of an image, as ImageMagick names it
pixel() { convert "$1" -format '%[pixel:p{'"$2"','"$3"'}]' info: 2>/dev/null; }
# image_centre ID: the colour of the centre pixel of skin image ID
image_centre() {
    local size file
    file=$(skin_image "$1")
    size=($(identify -format '%w %h' "$file"))
    pixel "$file" $((size[0] / 2)) $((size[1] / 2))
}

# spot TITLE ID: "x y" of a control's top-left corner in its window's client coordinates
spot() {
    local w c
    w=($(probe rect "$1")) && c=($(probe ctlrect "$1" "$2")) || return 1
    echo "$((c[0] - w[0])) $((c[1] - w[1]))"
}
# shows_image FILE X Y ID: the image FILE shows skin image ID whole, its top-left at (X, Y).
# At another scale a control sized by its image may be a pixel narrower or shorter than the
# image drawn for it (its edges are converted, not its size) and cuts the image's last column
# or row off: there the image is compared without them.
shows_image() {
    local size file
    file=$(skin_image "$4")
    size=($(identify -format '%w %h' "$file")) || return 1
    if [ "$QUORELLE_DPI" = 96 ]; then
        convert "$1" -crop "${size[0]}x${size[1]}+$2+$3" +repage png:- |
            compare -metric AE -fuzz 2% - "$file" null: 2>/dev/null
    else
        local part="$((size[0] - 1))x$((size[1] - 1))" cut="${1%.*}.skin-part.png"
        convert "$file" -crop "$part+0+0" +repage "$cut" &&
            convert "$1" -crop "$part+$2+$3" +repage png:- |
            compare -metric AE -fuzz 2% - "$cut" null: 2>/dev/null
    fi
}

# seed_curve_card: the card starts holding a user curve, the equalizer and the reverb on, the
# living room and "Cave"
seed_curve_card() {
    printf '%s\n' '10 0 1 Enable_EQ_GFX' '10 0 1 Enable_RFX_GFX' '10 0 2 RFX_ROOMSIZE' \
        '10 0 9 RFX_ENVIRONMENT' '10 0 6 EQ_Slider1' '10 0 -4 EQ_Slider5' '10 0 12 EQ_Slider10' \
        >"$E2E_DIR/VirtualCard.state"
}

# ini SECTION KEY [FILE]: a value of CPL.ini (or of FILE in E2E_DIR), as the profile reader
# sees it (section and key without regard to case); nothing when absent
ini() {
    awk -F= -v s="[$1]" -v k="$2" '
        { sub(/\r$/, "") }
        /^\[/ { in_s = (tolower($0) == tolower(s)); next }
        in_s && tolower($1) == tolower(k) { sub(/^[^=]*=/, ""); print; exit }' \
        "$E2E_DIR/${3:-CPL.ini}" 2>/dev/null
}
ini_is() { [ "$(ini "$1" "$2")" = "$3" ]; }  # ini_is SECTION KEY VALUE

# mark_log, then logged PATTERN: a line matching PATTERN (extended regex) appears in the
# card's log after the mark, within 10 s
LOG_MARK=0
mark_log() { LOG_MARK=$(wc -l <"$E2E_DIR/VirtualCard.log" 2>/dev/null || echo 0); }
logged() {
    local i
    for ((i = 0; i < 100; i++)); do
        tail -n +$((LOG_MARK + 1)) "$E2E_DIR/VirtualCard.log" 2>/dev/null | grep -Eq "$1" && return 0
        sleep 0.1
    done
    return 1
}
# since_mark: the card's log after the mark
since_mark() { tail -n +$((LOG_MARK + 1)) "$E2E_DIR/VirtualCard.log" 2>/dev/null; }

# press_at TITLE X Y: a real left click at a client point of a window (the windows have no
# frame, so client and window origin are one)
press_at() {
    local origin
    origin=($(probe rect "$1" | cut -d' ' -f1,2))
    xdotool mousemove $((origin[0] + $2)) $((origin[1] + $3)) click 1
    sleep 0.4
    after_action "a click at $2 $3"
}

# --- the notification-area icon and its menu -------------------------------------------------
# e2e_tray: the panel's icon shows in the tray window Wine draws itself (E2E_TRAY, at the
# screen's top-left, under the panel's windows until the panel moves away) for the rest of the
# script; call it before panel_start.
E2E_TRAY="Wine System Tray"
e2e_tray() { quorelle_systray Y; }
# tray_click BUTTON: a real click (1 left, 3 right) at the centre of the panel's icon there.
# Wine's tray window first takes a left click beside the icon and so becomes the active window:
# a click that makes it active on the icon itself often takes the activation back from the
# panel's menu right after it opened, and the menu closes (measured: 3 of 10 right clicks left
# a menu open, 20 of 20 after the click beside the icon).
tray_click() {
    local tray icon
    tray=($(probe rect "$E2E_TRAY")) &&
        icon=($(probe controls "$E2E_TRAY" | awk '$7 == "__winex11_tray_icon" { print; exit }'))
    [ "${#icon[@]}" -ge 5 ] || return 1
    xdotool mousemove --sync $((tray[0] + tray[2] - $(px 10))) $((icon[2] + icon[4] / 2)) click 1
    sleep 0.3
    xdotool mousemove --sync $((icon[1] + icon[3] / 2)) $((icon[2] + icon[4] / 2))
    sleep 0.3
    xdotool click "$1"
}
# menu_items: the pop-up menus the panel shows, read inside its process (e2eprobe menuitems):
# a "popup" line for each, topmost first, then its items "TEXT<tab>ID<tab>MARKS<tab>X Y W H",
# a sub-menu's items after it indented by two spaces; the texts as drawn (access-key marks left
# out, "&&" an ampersand)
menu_items() {
    probe menuitems "$E2E_TITLE" | sed -e 's/&&/\x01/g' -e 's/&//g' -e 's/\x01/\&/g'
}
# menu_open: no menu of the panel is shown, and a real right click on the icon opens one (up to
# three clicks are made, and more than one is reported).
menu_open() {
    local i
    probe menu "$E2E_TITLE" 300 0 || ! echo "      a menu is still shown" >&2 || return 1
    for ((i = 1; i <= 3; i++)); do
        tray_click 3 || return 1
        if probe menu "$E2E_TITLE" 3000; then
            [ "$i" = 1 ] || echo "      the icon took $i right clicks" >&2
            return 0
        fi
    done
    return 1
}
# menu_close: a real click at the screen's bottom-right corner, away from every window, closes
# the menu
menu_close() {
    xdotool mousemove --sync $((1280 * QUORELLE_DPI / 96 - 3)) $((1024 * QUORELLE_DPI / 96 - 3)) \
        click 1
    probe menu "$E2E_TITLE" 5000 0
}
# menu_keys KEY...: real keys to the shown menu, 0.3 s apart. The click on the icon can leave the
# keyboard with Wine's tray window, which the menu's owner takes from it on Windows: the panel's
# main window (shown) takes it first.
menu_keys() {
    local key main
    main=$(xdotool search --name "^$E2E_TITLE\$" | head -n 1)
    [ -n "$main" ] && xdotool windowfocus --sync "$main" || return 1
    for key; do
        xdotool key "$key"
        sleep 0.3
    done
}
# menu_click TEXT: a real click on the item drawn as TEXT on the topmost shown level that has it
menu_click() {
    local i place
    for ((i = 0; i < 50; i++)); do
        place=($(menu_items | awk -F'\t' -v t="$1" '$1 == t && $4 != "-" { print $4; exit }'))
        if [ "${#place[@]}" = 4 ]; then
            xdotool mousemove --sync $((place[0] + place[2] / 2)) $((place[1] + place[3] / 2))
            sleep 0.2
            xdotool click 1
            sleep 0.4
            return 0
        fi
        sleep 0.1
    done
    return 1
}
# menu_marks TEXT: the marks of the item TEXT on the shown menu's first level ("-" for none)
menu_marks() { menu_items | awk -F'\t' -v t="$1" '/^popup$/ { n++; next } n == 1 && $1 == t { print $3; exit }'; }
# menu_level TEXT: "TEXT MARKS" of each item of the sub-menu TEXT of the shown menu's first level,
# in order (a separator "-")
menu_level() {
    menu_items | awk -F'\t' -v t="$1" '
        /^popup$/ { p++; next }
        p == 1 && $1 == t { on = 1; next }
        on && /^  [^ ]/ {
            sub(/^  /, "", $1)
            print ($3 == "separator" ? "-" : $3 == "-" ? $1 : $1 " " $3)
            next
        }
        on && !/^    / { on = 0 }'
}

check() {  # check "what" command...: counts and prints the outcome, and returns its status
    local what=$1
    shift
    E2E_CHECKS=$((E2E_CHECKS + 1))
    local rc=0
    "$@" || rc=$?
    if [ "$rc" -eq 0 ]; then
        echo "ok    $what"
    else
        echo "FAIL  $what (status $rc)"
        E2E_FAILS=$((E2E_FAILS + 1))
    fi
    return "$rc"
}

e2e_finish() {
    echo "$E2E_CHECKS checks, $E2E_FAILS failed"
    [ "$E2E_FAILS" -eq 0 ]
}
