#!/usr/bin/env bash
# Start-up and display-scale benchmark of QuorelleCPL.exe with the virtual card. Figures only.
# - Start-up: the panel against the smallest program that opens one window, both started the
#   same way by e2eprobe: time until the main window is visible and answers messages, and the
#   peak working set. Both start at 96 DPI and at each DPI of BENCH_DPIS (default 192), each in
#   the Wine prefix of its DPI; all the starts take turns, so that they meet the same load of
#   the machine.
# - At each DPI, one more start of the panel: every page opened (WM_SHOW_PAGE), then the peak
#   working set of its process; and the HIFI page repainted in full: the median of REPAINTS
#   repaints timed inside the program (e2eprobe repaint with bench/repaint_hook_win32.cpp), and
#   beside it of as many timed from the probe's process (see e2eprobe's Repaint).
# - Page switches: a real click on a navigation button until the target page is painted and
#   idle, for each page at each DPI, against the smallest two-window program (at 96 DPI the HIFI
#   page at most 8 times, every other window at most 4 times), and beside it the floor: the same
#   two-window program with as many plain child windows as the HIFI page has.
# Targets: start-up time and peak working set at 96 DPI against the minimal window; each other
# DPI against 96: start-up time at most 1.3 times, peak working set with every page open at most
# 1.5 times, full HIFI repaint at most 2 times.
. "$(dirname "$0")/lib.sh"
# A display of its own, wider than the tests' (1280 x 1024), so that the panels of 96, 144 and
# 192 DPI lie wholly on it side by side: Wine gives a window a drawing surface only as large as
# its part on the screen. e2e_init takes it, and its end ends it (QUORELLE_XVFB_PID).
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 4096x2048x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
QUORELLE_XVFB_PID=$!
read -r display <"$fifo"
rm -f "$fifo"
export DISPLAY=:$display QUORELLE_XVFB=1
e2e_init
MINIMAL=$QUORELLE_ROOT/build/win/tests/e2e/minimal_window.exe
cp "$MINIMAL" "$E2E_DIR/"
runs=${RUNS:-11}
repaints=${REPAINTS:-100}
dpis="96 ${BENCH_DPIS:-192}"
# BENCH_AGAINST=DIR: another build's QuorelleCPL.exe and osConfLib.dll (an older commit's
# build/dist), measured at 96 DPI beside this one, taking the same turns, in a Wine prefix of its
# own (build/wine-against: one copy of the panel runs per prefix). Its figures are labelled
# "against".
panels=$dpis
[ -n "${BENCH_AGAINST:-}" ] && panels="$panels against"
dpi_of() { if [ "$1" = against ]; then echo 96; else echo "$1"; fi; }
hook=$(winepath -w "$QUORELLE_ROOT/build/win/bench/repaint_hook.dll")

# at_dpi DPI COMMAND...: COMMAND with the Wine prefix of that DPI (as tools/wine-env.sh names
# it); "against" for the other build's
at_dpi() {
    local dpi=$1
    shift
    (
        unset WINEPREFIX
        QUORELLE_DPI=$(dpi_of "$dpi")
        [ "$dpi" = against ] && export WINEPREFIX=$QUORELLE_ROOT/build/wine-against
        . "$QUORELLE_ROOT/tools/wine-env.sh"
        "$@"
    )
}
end_all() {
    for dpi in $panels; do at_dpi "$dpi" quorelle_end_wine; done
    e2e_cleanup
}
trap end_all EXIT
# each DPI starts the panel from a copy of its own, so that no settings carry over; each
# prefix's Wine server stays up throughout (it would end 3 s after its last program, and the
# starts of one DPI would then pay for a new server while those of another did not)
for dpi in $panels; do
    at_dpi "$dpi" quorelle_prepare_prefix
    at_dpi "$dpi" wineserver -p
    mkdir -p "$E2E_DIR/dpi$dpi"
    if [ "$dpi" = against ]; then
        cp "$BENCH_AGAINST"/QuorelleCPL.exe "$BENCH_AGAINST"/osConfLib.dll "$E2E_DIR/dpi$dpi/"
    else
        cp "$QUORELLE_ROOT"/build/dist/* "$E2E_DIR/dpi$dpi/"
    fi
done
panel_exe() { winepath -w "$E2E_DIR/dpi$1/QuorelleCPL.exe"; }
launch_panel() { at_dpi "$1" probe launch "$(panel_exe "$1")" "$E2E_TITLE"; }
launch_minimal() {
    at_dpi "$1" probe launch "$(winepath -w "$E2E_DIR/minimal_window.exe")" "Quorelle minimal window"
}

# one start of each first, so that none pays for a cold Wine
for dpi in $dpis; do launch_minimal "$dpi" >/dev/null; done
for dpi in $panels; do launch_panel "$dpi" >/dev/null; done
reversed=$(printf '%s\n' $dpis | tac)
reversed_panels=$(printf '%s\n' $panels | tac)
for ((i = 0; i < runs; i++)); do
    # every other run the other way round, so that no DPI always follows the same start
    order=$dpis order_panels=$panels
    ((i % 2)) && order=$reversed order_panels=$reversed_panels
    for dpi in $order_panels; do launch_panel "$dpi" >>"$E2E_DIR/panel.$dpi.runs"; done
    for dpi in $order; do launch_minimal "$dpi" >>"$E2E_DIR/minimal.$dpi.runs"; done
done

# open DPI X: the panel started once more with its main window at (X, 0), every page opened;
# prints its peak working set ("peak KiB"), then shows the HIFI page
open_pages() {
    local dpi=$1 page
    (cd "$E2E_DIR/dpi$dpi" && exec wine ./QuorelleCPL.exe) >/dev/null 2>&1 &
    probe wait "$E2E_TITLE" 30000 || { echo "the main window did not open at $dpi DPI" >&2; return 1; }
    probe send "$E2E_TITLE" 2025 "$2" 0 >/dev/null  # the pages open where the main window is
    for page in "1 Hifi" "2 Advance" "3 Information" "4 Headphone"; do
        set -- $page
        probe send "$E2E_TITLE" 2024 0 "$1" >/dev/null &&
            probe wait "$E2E_TITLE - $2" 10000 ||
            echo "the $2 page did not open at $dpi DPI" >&2
    done
    sleep 0.5  # the last page painted
    probe memory "$E2E_TITLE"
    probe send "$E2E_TITLE" 2024 0 1 >/dev/null && probe wait "$E2E_TITLE - Hifi" 10000
    sleep 0.5
    probe repaint "$E2E_TITLE - Hifi" 10 "$hook" >/dev/null  # first paints out of the figures
}
# The panels of all DPIs stay open together side by side (the page is 800 pixels wide at 96 DPI,
# so none covers another once they scale), and take turns at rounds of five repaints, so that
# every DPI meets the same load of the machine (other work on it slows the repaints down for a
# second or so at a time: the p10 beside each median shows how much).
x=0
for dpi in $panels; do
    at_dpi "$dpi" open_pages "$dpi" "$x" >"$E2E_DIR/pages.$dpi"
    x=$((x + (800 * $(dpi_of "$dpi") + 95) / 96 + 16))
done
for ((i = 0; i < (repaints + 4) / 5; i++)); do
    for dpi in $panels; do
        at_dpi "$dpi" probe repaint "$E2E_TITLE - Hifi" 5 "$hook" >>"$E2E_DIR/pages.$dpi"
    done
done
# Page switches as a user makes them: a real click on a navigation button, timed by the probe
# until the target page is shown, painted (itself and its controls) and answers; around the
# five windows (main, Hifi, Advance, Information, Headphone, main again) at each DPI, against the
# smallest program that hides one window and shows another on a click, placed below the panels.
# Every page was shown once already (open_pages): these are the switches after the first.
# from, the button pressed there, to: around the five windows, from the Hifi page back to it
cycle=("$E2E_TITLE - Hifi" 1078 "$E2E_TITLE - Advance"
    "$E2E_TITLE - Advance" 1209 "$E2E_TITLE - Information"
    "$E2E_TITLE - Information" 1058 "$E2E_TITLE - Headphone"
    "$E2E_TITLE - Headphone" 1181 "$E2E_TITLE"
    "$E2E_TITLE" 1002 "$E2E_TITLE - Hifi")
switch_round() {  # switch_round DPI: the panel's five switches
    local dpi=$1 i rect from to x y
    for ((i = 0; i < ${#cycle[@]}; i += 3)); do
        from=${cycle[i]} to=${cycle[i + 2]}
        read -r -a rect < <(probe ctlrect "$from" "${cycle[i + 1]}")
        x=$((rect[0] + rect[2] / 2)) y=$((rect[1] + rect[3] / 2))
        to_name=${to#"$E2E_TITLE - "}
        [ "$to" = "$E2E_TITLE" ] && to_name=Main
        echo "$to_name $(probe switch "$from" "$x" "$y" "$to")" >>"$E2E_DIR/switch.$dpi"
    done
}
minimal_switch_round() {  # minimal_switch_round DPI [NAME]: six switches of the minimal program
    local dpi=$1 name=${2:-minimal} i rect from to x y
    read -r -a rect < <(probe rect "Quorelle $name window")
    x=$((rect[0] + rect[2] / 2)) y=$((rect[1] + rect[3] / 2))
    from="Quorelle $name window" to="Quorelle $name window 2"
    for i in 1 2 3 4 5 6; do
        probe switch "$from" "$x" "$y" "$to" >>"$E2E_DIR/$name.switch.$dpi"
        set -- "$to" "$from"
        from=$1 to=$2
    done
}
x=0
for dpi in $dpis; do
    # the minimal program below the panels, at the same x
    (cd "$E2E_DIR" && at_dpi "$dpi" exec wine ./minimal_window.exe two "$x" 1100) >/dev/null 2>&1 &
    at_dpi "$dpi" probe wait "Quorelle minimal window" 10000 ||
        echo "the minimal two-window program did not open at $dpi DPI" >&2
    x=$((x + (800 * dpi + 95) / 96 + 16))
done
for ((i = 0; i < runs; i++)); do
    order=$dpis order_panels=$panels
    ((i % 2)) && order=$reversed order_panels=$reversed_panels
    for dpi in $order_panels; do at_dpi "$dpi" switch_round "$dpi"; done
    for dpi in $order; do at_dpi "$dpi" minimal_switch_round "$dpi"; done
done
# the HIFI page's child windows, counted before the panels end
hifi_children=$(at_dpi 96 probe controls "$E2E_TITLE - Hifi" | wc -l)
for dpi in $dpis; do at_dpi "$dpi" probe post "Quorelle minimal window" 16 0 0; done  # WM_CLOSE
# The floor: the same switch between two windows that each have as many plain child windows as
# the HIFI page has, in the minimal program's place once it has gone. What the panel's switches
# take beyond it is the panel's own; up to it, the platform's.
x=0
for dpi in $dpis; do
    at_dpi "$dpi" probe gone "Quorelle minimal window" 5000
    (cd "$E2E_DIR" && at_dpi "$dpi" exec wine ./minimal_window.exe two "$x" 1100 "$hifi_children") \
        >/dev/null 2>&1 &
    at_dpi "$dpi" probe wait "Quorelle floor window" 10000 ||
        echo "the floor program did not open at $dpi DPI" >&2
    x=$((x + (800 * dpi + 95) / 96 + 16))
done
for ((i = 0; i < runs; i++)); do
    for dpi in $dpis; do at_dpi "$dpi" minimal_switch_round "$dpi" floor; done
done
for dpi in $dpis; do at_dpi "$dpi" probe post "Quorelle floor window" 16 0 0; done
for dpi in $panels; do
    at_dpi "$dpi" probe post "$E2E_TITLE" 2024 0 -1  # the program ends
    at_dpi "$dpi" probe gone "$E2E_TITLE" 20000
done

median() {  # median FILE COLUMN
    sort -n -k"$2" "$1" | awk -v c="$2" '{v[NR] = $c} END {print v[int((NR + 1) / 2)]}'
}
field() {  # field FILE NAME: the number after NAME in FILE (its first line that has it)
    awk -v n="$2" '{for (i = 1; i < NF; ++i) if ($i == n) {print $(i + 1); exit}}' "$1"
}
samples() {  # samples FILE WHERE [AT]: the repaints' figure at AT (0.5: median) of all rounds
    awk -v w="$2" '$1 == "samples" && $2 == w {for (i = 3; i <= NF; ++i) print $i}' "$1" |
        sort -n | awk -v at="${3:-0.5}" '{v[NR] = $1} END {if (NR) print v[int(NR * at) + 1]}'
}
min_ms=$(median "$E2E_DIR/minimal.96.runs" 1) min_kb=$(median "$E2E_DIR/minimal.96.runs" 2)
printf 'start-up (median of %d)       time to visible and idle   peak working set\n' "$runs"
for dpi in $panels; do
    printf '  QuorelleCPL.exe %4s DPI   %8.1f ms                 %8d KiB\n' "$dpi" \
        "$(median "$E2E_DIR/panel.$dpi.runs" 1)" "$(median "$E2E_DIR/panel.$dpi.runs" 2)"
done
# the minimal window at each DPI: what a change of scale costs any program under Wine
for dpi in $dpis; do
    printf '  minimal window   %4d DPI   %8.1f ms                 %8d KiB\n' "$dpi" \
        "$(median "$E2E_DIR/minimal.$dpi.runs" 1)" "$(median "$E2E_DIR/minimal.$dpi.runs" 2)"
done
printf 'every page opened           peak working set   full HIFI repaint (median of %d)\n' "$repaints"
for dpi in $panels; do
    f=$E2E_DIR/pages.$dpi
    printf '  QuorelleCPL.exe %4s DPI   %8s KiB       %8s us in the program (p10 %s, p90 %s)\n' \
        "$dpi" "$(field "$f" peak)" "$(samples "$f" inside)" "$(samples "$f" inside 0.1)" \
        "$(samples "$f" inside 0.9)"
    printf '%51s %8s us from outside (p10 %s, p90 %s; %s windows, %s us a round trip); %s page\n' \
        "" "$(samples "$f" outside)" "$(samples "$f" outside 0.1)" "$(samples "$f" outside 0.9)" \
        "$(field "$f" windows)" "$(field "$f" roundtrip)" "$(field "$f" size)"
    grep -v '^peak \|^inside \|^samples ' "$f" | sort | uniq -c | sed 's/^ */    /'
done
awk -v a="$(median "$E2E_DIR/panel.96.runs" 1)" -v b="$min_ms" \
    -v c="$(median "$E2E_DIR/panel.96.runs" 2)" -v d="$min_kb" 'BEGIN {
    printf "  ratio at 96 DPI            %8.2f x                  %8.2f x minimal\n", a / b, c / d
    target("start-up time", a / b, "x minimal", 2)
    target("peak working set", c / d, "x minimal", 1.5)
}
function target(what, value, unit, limit) {
    printf "target  %-36s %9.2f %-10s (target <= %g %s)  %s\n", what, value, unit, limit, unit,
        value <= limit ? "met" : "NOT MET"
}'
printf 'page switch (median of %d)   real click to the page painted and idle\n' "$runs"
for dpi in $panels; do
    m=$(median "$E2E_DIR/minimal.switch.$(dpi_of "$dpi")" 1)
    f=$(median "$E2E_DIR/floor.switch.$(dpi_of "$dpi")" 1)
    for page in Hifi Advance Information Headphone Main; do
        awk -v p="$page" '$1 == p && NF == 2 {print $2}' "$E2E_DIR/switch.$dpi" >"$E2E_DIR/switch.$dpi.$page"
        v=$(median "$E2E_DIR/switch.$dpi.$page" 1)
        printf '  QuorelleCPL.exe %4s DPI   to %-12s %8s ms\n' "$dpi" "$page" "$v"
        [ "$dpi" = against ] && continue
        # the HIFI page (the most children) at most 8 times the minimal program, every other
        # window at most 4 times, at 96 DPI; other scales are reported beside it
        limit=4
        [ "$page" = Hifi ] && limit=8
        awk -v what="page switch to $page $dpi DPI" -v v="$v" -v m="$m" -v l="$limit" \
            -v dpi="$dpi" 'BEGIN {
            if (v == "" || m == "" || m <= 0) {
                printf "target  %-36s %9s %-10s (target <= %d x minimal)  NOT MEASURED\n", what, "-", "", l
                exit
            }
            printf "%-6s  %-36s %9.2f %-10s (target <= %d x minimal)  %s\n",
                dpi == 96 ? "target" : "report", what, v / m, "x minimal", l,
                v / m <= l ? "met" : dpi == 96 ? "NOT MET" : "above"
        }' >>"$E2E_DIR/switch.targets"
    done
    if [ "$dpi" != against ]; then
        printf '  minimal two windows %4d DPI  %8s ms (a switch of its own)\n' "$dpi" "$m"
        printf '  floor: two windows with %s plain children %4d DPI  %8s ms (%s x minimal)\n' \
            "$hifi_children" "$dpi" "$f" "$(awk -v f="$f" -v m="$m" 'BEGIN { if (m > 0 && f != "") printf "%.2f", f / m; else print "-" }')"
    fi
done
cat "$E2E_DIR/switch.targets"
# each other DPI against 96; a figure that is missing says so instead of a ratio
for dpi in ${BENCH_DPIS:-192}; do
    awk -v dpi="$dpi" \
        -v s0="$(median "$E2E_DIR/panel.96.runs" 1)" -v s1="$(median "$E2E_DIR/panel.$dpi.runs" 1)" \
        -v m0="$(field "$E2E_DIR/pages.96" peak)" -v m1="$(field "$E2E_DIR/pages.$dpi" peak)" \
        -v r0="$(samples "$E2E_DIR/pages.96" inside)" -v r1="$(samples "$E2E_DIR/pages.$dpi" inside)" 'BEGIN {
    target("start-up time " dpi "/96 DPI", s1, s0, 1.3)
    target("peak working set, all pages " dpi "/96", m1, m0, 1.5)
    target("full HIFI repaint " dpi "/96 DPI", r1, r0, 2)
}
function target(what, at, base, limit) {
    if (at == "" || base == "" || base <= 0) {
        printf "target  %-36s %9s %-10s (target <= %g x)  NOT MEASURED\n", what, "-", "", limit
        return
    }
    printf "target  %-36s %9.2f %-10s (target <= %g x)  %s\n", what, at / base, "x 96 DPI",
        limit, at / base <= limit ? "met" : "NOT MET"
}'
done
# this build against the other one at 96 DPI
if [ -n "${BENCH_AGAINST:-}" ]; then
    awk -v s0="$(median "$E2E_DIR/panel.against.runs" 1)" -v s1="$(median "$E2E_DIR/panel.96.runs" 1)" \
        -v w0="$(median "$E2E_DIR/panel.against.runs" 2)" -v w1="$(median "$E2E_DIR/panel.96.runs" 2)" \
        -v m0="$(field "$E2E_DIR/pages.against" peak)" -v m1="$(field "$E2E_DIR/pages.96" peak)" \
        -v r0="$(samples "$E2E_DIR/pages.against" inside)" -v r1="$(samples "$E2E_DIR/pages.96" inside)" 'BEGIN {
    printf "this build / against at 96 DPI: start-up %.2f x, peak working set %.2f x, all pages %.2f x, full HIFI repaint %.2f x\n",
        s1 / s0, w1 / w0, m1 / m0, r1 / r0
}'
    for page in Hifi Advance Information Headphone Main; do
        printf '  page switch to %-12s %8s ms against %8s ms\n' "$page" \
            "$(median "$E2E_DIR/switch.96.$page" 1)" "$(median "$E2E_DIR/switch.against.$page" 1)"
    done
fi
