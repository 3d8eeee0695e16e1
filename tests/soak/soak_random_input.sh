#!/usr/bin/env bash
# Random real input across the five windows: clicks, drags, wheel turns and keys (xdotool) in the
# window on screen, navigation clicks, and from outside the tray icon's clicks and menu and the
# language commands. The program keeps answering, its GDI objects and windows at the end equal
# those after a warm-up (the same windows shown, the same language; the short form allows the
# system's DC cache three more objects), and CPL.ini holds only keys
# in their ranges, and after every batch of ten events the screen shows what a full repaint of
# the window shows (nothing stale). Short form: 300 events; QUORELLE_SOAK=1: 10,000.
. "$(dirname "$0")/soak_lib.bash"
e2e_init
if [ "$SOAK_LONG" = 1 ]; then total=10000; else total=300; fi
seed=${SOAK_SEED:-$(date +%s)}
RANDOM=$seed
echo "seed $seed"
KEYS=(Left Right Up Down Prior Next Home End Tab space Return Escape BackSpace Delete a z 1 9
    minus plus shift+Tab ctrl+a alt+Down F1)

# "x y w h" of the visible one of the five windows, brought back when none is visible or it
# wandered off the screen
on_screen() {
    local line x y w h
    line=$(probe windows "$MAIN" | awk -v t="$E2E_TITLE" '$2 == 1 && index($0, t) { print $3, $4, $5, $6; exit }')
    if [ -z "$line" ]; then
        probe send "$MAIN" 0x0111 32774 0 >/dev/null  # "Quorelle DIVO"
        line=$(probe windows "$MAIN" | awk -v t="$E2E_TITLE" '$2 == 1 && index($0, t) { print $3, $4, $5, $6; exit }')
        [ -n "$line" ] || { probe send "$MAIN" 2024 0 0 >/dev/null; line="100 100 800 309"; }
    fi
    read -r x y w h <<<"$line"
    if [ "$x" -lt 0 ] || [ "$y" -lt 0 ] || [ $((x + w)) -gt 1280 ] || [ $((y + h)) -gt 1000 ]; then
        probe send "$MAIN" 2025 100 100 >/dev/null
        probe send "$MAIN" 2024 0 $((RANDOM % 5)) >/dev/null
        line=$(probe windows "$MAIN" | awk -v t="$E2E_TITLE" '$2 == 1 && index($0, t) { print $3, $4, $5, $6; exit }')
        [ -n "$line" ] || line="100 100 800 309"
    fi
    echo "$line"
}

EVENTS=0 STALLS=0 LATE=0 STALE=0 STALE_CHECKS=0
declare -A KINDS
count() { EVENTS=$((EVENTS + 1)); KINDS[$1]=$((${KINDS[$1]:-0} + 1)); }

# one batch: ten real events in the window on screen, then now and then an outside one
batch() {
    local x y w h args=() i px py v
    read -r x y w h <<<"$(on_screen)"
    for ((i = 0; i < 10; i++)); do
        px=$((x + RANDOM % w))
        py=$((y + RANDOM % h))
        case $((RANDOM % 10)) in
            0 | 1 | 2 | 3)
                args+=(mousemove "$px" "$py" click 1 sleep 0.05)
                count click
                ;;
            4)
                args+=(mousemove "$px" "$py" click --repeat 2 --delay 60 1 sleep 0.05)
                count click
                ;;
            5 | 6)
                # a drag never leaves the screen's top or left edge: xdotool takes a negative
                # number for an option and drops the whole batch
                args+=(mousemove "$px" "$py" mousedown 1 sleep 0.05
                    mousemove $(((v = px + RANDOM % 41 - 20) < 0 ? 0 : v)) \
                    $(((v = py + RANDOM % 41 - 20) < 0 ? 0 : v)) sleep 0.05
                    mousemove $(((v = px + RANDOM % 81 - 40) < 0 ? 0 : v)) \
                    $(((v = py + RANDOM % 81 - 40) < 0 ? 0 : v)) mouseup 1 sleep 0.05)
                count drag
                ;;
            7)
                args+=(mousemove "$px" "$py" click --repeat $((1 + RANDOM % 3)) $((4 + RANDOM % 2)) sleep 0.05)
                count wheel
                ;;
            *)
                args+=(key "${KEYS[RANDOM % ${#KEYS[@]}]}" sleep 0.03)
                count key
                ;;
        esac
    done
    xdotool "${args[@]}"
    sleep 0.2
    case $((RANDOM % 8)) in
        0)
            show_page $((RANDOM % 5)) >/dev/null
            count navigation
            ;;
        1)
            probe post "$MAIN" 1129 151 0x201
            count tray
            ;;
        2)
            tray_menu_shown_and_gone
            count tray
            ;;
        3)
            probe post "$MAIN" 0x0111 $((32780 + RANDOM % 3)) 0
            count language
            ;;
    esac
    soak_notices
    # the screen against a full repaint of the windows on it
    local out
    STALE_CHECKS=$((STALE_CHECKS + 1))
    if ! out=$(probe stale "$MAIN"); then
        STALE=$((STALE + 1))
        [ "$STALE" -le 5 ] && echo "stale drawing after $EVENTS events: $out"
    fi
}

# a user's presets: more than the list shows at once
seed_presets 30
check "the main window opens" soak_start
soak_prime
first_handles=$(settle_and_count)
begin=$(date +%s)
# The system's own caches (device contexts, the brushes and regions of the standard controls)
# grow during the first few dozen events and then stay: the counts to compare are taken after a
# warm-up of a tenth of the events (at least 100) and at the end.
warmup=$((total / 10 > 100 ? total / 10 : 100))
while [ "$EVENTS" -lt "$warmup" ]; do batch; done
start_handles=$(settle_and_count)
every=${SOAK_COUNT_EVERY:-0}  # print settled handle counts every so many events (diagnosis)
next=$((EVENTS + every))
while [ "$EVENTS" -lt "$total" ]; do
    batch
    if [ "$every" -gt 0 ] && [ "$EVENTS" -ge "$next" ]; then
        echo "after $EVENTS events: $(settle_and_count)"
        next=$((next + every))
    fi
    # an answer missed once (the probe's own start on a loaded machine, a menu taking its time)
    # is counted as late; a stall is a window that still does not answer two seconds later
    if ! answers "$MAIN"; then
        LATE=$((LATE + 1))
        sleep 2
        if ! answers "$MAIN"; then
            STALLS=$((STALLS + 1))
            kill -0 "$PANEL_PID" 2>/dev/null || break
        fi
    fi
done
elapsed=$(($(date +%s) - begin))
alive=0
soak_alive && alive=1
check "the program still runs and answers after $EVENTS events" test "$alive" = 1
if [ "$alive" = 1 ]; then
    end_handles=$(settle_and_count)
    echo "handles right after the start: $first_handles; after $warmup events:" \
        "$start_handles; at the end: $end_handles"
    if [ "$SOAK_LONG" = 1 ]; then
        check "GDI objects and windows as at the start" test "$start_handles" = "$end_handles"
    else
        # The system's device context cache grows by one or two now and then with the timing of
        # nested paints; in a few hundred events a leak of the program's own shows as more than
        # that (every click, drag or language change would add its own object).
        gdi_at() { awk '{ print $2 }' <<<"$1"; }
        windows_at() { awk '{ print $4 }' <<<"$1"; }
        check "GDI objects within 3 of the start, windows as at the start" \
            test $(($(gdi_at "$end_handles") - $(gdi_at "$start_handles"))) -le 3 -a \
            "$(windows_at "$end_handles")" = "$(windows_at "$start_handles")"
    fi
    check "it exits cleanly" soak_exit
else
    soak_crashed_or_hung
fi
out=$(keys_out_of_range "$E2E_DIR/CPL.ini")
[ -z "$out" ] || echo "$out" | head -5
check "CPL.ini holds only keys in their ranges ($(grep -c = "$E2E_DIR/CPL.ini") keys)" test -z "$out"
out=$(sets_out_of_range "$E2E_DIR/VirtualCard.log")
check "every value sent to the card in its range ($(grep -c '^PropertyControl set' "$E2E_DIR/VirtualCard.log") sets)" test -z "$out"
kinds=$(for k in "${!KINDS[@]}"; do printf '%s %s, ' "$k" "${KINDS[$k]}"; done)
echo "events $EVENTS ($kinds${elapsed} s); stalls $STALLS, late answers $LATE;" \
    "notices closed $NOTICES;" \
    "starts $STARTS, crashes $CRASHES, hangs $HANGS"
check "no stall" test "$STALLS" = 0
check "the screen equals a full repaint after each of $STALE_CHECKS batches ($STALE differ)" \
    test "$STALE" = 0
e2e_finish
