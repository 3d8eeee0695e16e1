#!/usr/bin/env bash
# A storm of card callbacks while the user works: the virtual card fires its callback back to
# back from its own thread once the main window registered it. Two starts: 100,000 callbacks at
# once, then a storm spread over the user's work (StormPause: a rest after every 100 callbacks;
# short form 10,000 over about 10 s, QUORELLE_SOAK=1 100,000 over about a minute). While it
# lasts the user switches pages with real clicks and toggles the advance page's effects: every
# window answers within the bound, every toggle reaches the card and CPL.ini, posting to the
# panel never fails (a full queue would refuse every post), the card fires the whole storm, and
# the program exits cleanly.
. "$(dirname "$0")/soak_lib.bash"
e2e_init
ADVANCE=${PAGE_TITLES[2]}
EFFECTS=(1192 1193 1194 1195)
EFFECT_PROPERTIES=(Enable_VIRTUALBASS_LFX Enable_AUDIOBRILLIANT_LFX Enable_VOICECLARITY_LFX
    Enable_ADAPTIVEVOLUME_GFX)
EFFECT_KEYS=(DynamicBass AudioBrilliant VoiceClarity AdaptiveVolume)
BOUND_MS=3000  # a sent message answered within this, the probe's own start included
if [ "$SOAK_LONG" = 1 ]; then spread=100000 pause=60; else spread=10000 pause=100; fi

export SOAK_WINEDEBUG=+msg  # the panel's message trace: the callback's posts and their taking
POSTED=0 ACTIONS=0 TOGGLES=0 LOST=0 POST_FAILS=0 SLOW=0 MAX_MS=0
# timed_answer: the main window answers a sent message; its time in MAX_MS, slow ones counted
timed_answer() {
    local t0 t1 ms
    t0=$(date +%s%N)
    answers "$MAIN" || { SLOW=$((SLOW + 1)); return 1; }
    t1=$(date +%s%N)
    ms=$(((t1 - t0) / 1000000))
    [ "$ms" -gt "$MAX_MS" ] && MAX_MS=$ms
    [ "$ms" -le "$BOUND_MS" ] || SLOW=$((SLOW + 1))
    probe post "$MAIN" 0 0 0 || POST_FAILS=$((POST_FAILS + 1))
}

# one round of work: every page through navigation clicks, and one effect toggled, which must
# reach the card and CPL.ini
work_round() {
    local page k=$((TOGGLES % 4)) before after
    for page in 2 1 4 3 0 2; do
        show_page "$page" || return 1
        ACTIONS=$((ACTIONS + 1))
        timed_answer
    done
    before=$(ini Ad "${EFFECT_KEYS[$k]}")
    mark_log
    click_control "$ADVANCE" "${EFFECTS[$k]}"
    ACTIONS=$((ACTIONS + 1))
    TOGGLES=$((TOGGLES + 1))
    # the key changes once the click has been handled: waited for, not read once
    changed() { after=$(ini Ad "${EFFECT_KEYS[$k]}"); [ "$before" != "$after" ]; }
    if ! logged "^PropertyControl set ${EFFECT_PROPERTIES[$k]} " || ! eventually changed; then
        LOST=$((LOST + 1))
        echo "      toggle $TOGGLES of ${EFFECT_KEYS[$k]} lost ($before -> $after)" >&2
    fi
    timed_answer
}

storm_ended() { grep -q '^Storm fired=' "$E2E_DIR/VirtualCard.log" 2>/dev/null; }

# storm_run NAME COUNT PAUSE
storm_run() {
    local name=$1 count=$2 pause=$3 rounds=0 line
    rm -f "$E2E_DIR"/CPL.ini "$E2E_DIR"/VirtualCard.*
    printf '[Library]\r\nStorm=%s\r\nStormPause=%s\r\n' "$count" "$pause" >"$E2E_DIR/VirtualCard.ini"
    check "$name: the main window opens" soak_start || return
    timed_answer
    while ! storm_ended || [ "$rounds" -lt 2 ]; do
        work_round || break
        rounds=$((rounds + 1))
        [ "$rounds" -lt 500 ] || break
    done
    line=$(grep -m1 '^Storm fired=' "$E2E_DIR/VirtualCard.log")
    echo "$name: $line; $rounds rounds of work"
    check "$name: the card fired the whole storm" test "$line" = "Storm fired=$count of $count"
    check "$name: the program answers after it" soak_alive
    local hwnd
    hwnd=$(probe windows "$MAIN" | awk -v t="$MAIN" '$0 ~ t "$" { print $1; exit }')
    hwnd=$(printf '0x%x' $((16#$hwnd)))
    check "$name: it exits cleanly" soak_exit
    # Wine's message trace: each post of the callback's message (from the card's thread) is
    # taken by the main window before the next one is posted, and the last one is taken
    line=$(awk -v h="$hwnd" '
        $0 ~ ("NtUserPostMessage hwnd " h " msg 464 ") { posts++; if (waiting) twice++; waiting = 1 }
        $0 ~ ("got type [0-9]+ msg 464 .* hwnd " h " ") { taken++; waiting = 0 }
        END { printf "posted %d taken %d twice %d last-taken %d", posts, taken, twice, !waiting }' \
        "$SOAK_ERR")
    echo "$name: callback messages $line"
    check "$name: one message at a time, each taken, the last one too" \
        test "$(echo "$line" | awk '{ print ($2 > 0 && $2 == $4 && $6 == 0 && $8 == 1) }')" = 1
    POSTED=$((POSTED + $(echo "$line" | awk '{ print $2 }')))
}

begin=$(date +%s)
storm_run "100000 at once" 100000 0
storm_run "$spread spread over the work" "$spread" "$pause"
echo "actions $ACTIONS (toggles $TOGGLES, lost $LOST); answers slower than $BOUND_MS ms or none:" \
    "$SLOW, slowest $MAX_MS ms; failed posts $POST_FAILS; starts $STARTS, crashes $CRASHES," \
    "hangs $HANGS; callback messages posted $POSTED; $(($(date +%s) - begin)) s"
check "no toggle lost" test "$LOST" = 0
check "every answer within $BOUND_MS ms" test "$SLOW" = 0
check "no post refused" test "$POST_FAILS" = 0
e2e_finish
