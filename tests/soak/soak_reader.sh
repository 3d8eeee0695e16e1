#!/usr/bin/env bash
# A screen reader from another process, from fresh starts: it walks every accessible object of
# the five windows (each window's object and its children, then each control's own object and
# its elements) in the three languages, releases everything and walks again while real clicks
# run on the main window. Every call answers within 2 s, nothing fails, and after each walk the
# main window answers WM_DIAGNOSTIC_COUNT within 1 s with 0. On the first start every registered
# message of the program reaches every window and control from outside with random parameters,
# and nothing happens. On the last, an object held across its page's closing keeps answering,
# and once the program has ended every call answers a disconnection at once.
# Short form: 3 starts; QUORELLE_SOAK=1: 20.
. "$(dirname "$0")/soak_lib.bash"
e2e_init
if [ "$SOAK_LONG" = 1 ]; then starts=20; else starts=3; fi
seed=${SOAK_SEED:-$(date +%s)}
echo "seed $seed"
HIFI=${PAGE_TITLES[1]}
begin=$(date +%s)
WALKS=0 SLOWEST=0

# walked WHAT: one walk (e2eprobe accwalk); fails on a call over 2 s or failed, on an object
# count below what the five windows hold, or on a main window that did not answer 0 within 1 s
walked() {
    local out f
    out=$(probe accwalk "$MAIN") || { echo "      no walk: $out"; return 1; }
    f=($(echo "$out" | awk '/^objects/ { print $2, $6, $8, $10, $12, $14 }'))
    WALKS=$((WALKS + 1))
    ((${f[1]:-99999} > SLOWEST)) && SLOWEST=${f[1]}
    if ((${f[0]:-0} >= 400 && ${f[2]:-1} == 0 && ${f[3]:-1} == 0)) && [ "${f[4]:-}" = 0 ] &&
        ((${f[5]:-9999} <= 1000)); then
        return 0
    fi
    echo "$out" | head -6 | sed 's/^/      /'
    return 1
}

# clicking: real clicks on the main window's mute switch, bit-depth lamps and sample-rate
# picture, until the file "$E2E_DIR/stop" appears
clicking() {
    local id points=() x y w h v
    for id in 1008 1038 1039 1040 1018 1008; do
        read -r x y w h v <<<"$(probe ctlrect "$MAIN" "$id")"
        [ "${v:-0}" = 1 ] && points+=("$((x + w / 2)) $((y + h / 2))")
    done
    ((${#points[@]} > 0)) || return
    local i=0
    while [ ! -e "$E2E_DIR/stop" ]; do
        xdotool mousemove ${points[i % ${#points[@]}]} click 1
        i=$((i + 1))
        sleep 0.15
    done
}

for ((run = 1; run <= starts; run++)); do
    check "start $run: the main window opens" soak_start || continue
    for language in $(((run + 0) % 3)) $(((run + 1) % 3)) $(((run + 2) % 3)); do
        probe send "$MAIN" 1127 0 "$language" >/dev/null
        check "start $run, language $language: a reader's walk" walked && continue
        # a walk that failed: a program that no longer answers is counted and the start ends
        soak_alive || {
            check "start $run: the program answers after a failed walk" false
            soak_crashed_or_hung
            continue 2
        }
    done
    rm -f "$E2E_DIR/stop"
    clicking &
    clicker=$!
    check "start $run: a walk while clicks run" walked
    touch "$E2E_DIR/stop"
    wait "$clicker"
    soak_notices

    if ((run == 1)); then
        out=$(probe accforeign "$MAIN" "$seed")
        echo "      registered messages from outside: $out"
        check "registered messages from outside are all answered" \
            eval '[[ $out =~ ^sent\ [1-9][0-9]*\ unanswered\ 0$ ]]'
        check "... and change nothing: the barriers caught nothing, the main window answers" \
            eval 'soak_alive && [ "$(caught_failures)" = 0 ]'
    fi

    if ((run == starts)); then
        # an object of the HIFI page held while the page closes and the program ends
        probe send "$MAIN" 2024 0 1 >/dev/null && visible "$HIFI"
        wine "$E2E_PROBE" acchold "$HIFI" 1084 12 >"$E2E_DIR/hold.txt" 2>/dev/null &
        holder=$!
        eventually grep -q '^window shown' "$E2E_DIR/hold.txt"
        click_control "$HIFI" 1073 # its close button: the page hides
        hidden "$HIFI"
        eventually grep -q '^window hidden' "$E2E_DIR/hold.txt"
        sleep 1
        check "start $run: the program ends" soak_exit
        wait "$holder"
        hold=$(tr -d '\r' <"$E2E_DIR/hold.txt")
        echo "$hold" | tail -4 | sed 's/^/      /'
        f=($(echo "$hold" | awk '/^rounds/ { print $3, $5, $7, $9, $11, $13 }'))
        check "an object held across its page's closing answers while the page is hidden" \
            eval '((${f[1]:-0} > 0)) && ! grep -q "^call" <<<"$hold"'
        check "... and after the program ended every call answers a disconnection" \
            eval '((${f[2]:-0} > 0 && ${f[4]:-0} > 0 && ${f[5]:-1} == 0))'
        check "... every call within 1 s" eval '((${f[3]:-9999} < 1000))'
    else
        check "start $run: the program ends" soak_exit
    fi
done
echo "starts $STARTS, walks $WALKS, slowest call ${SLOWEST} ms, crashes $CRASHES, hangs $HANGS;" \
    "$(($(date +%s) - begin)) s"
e2e_finish
