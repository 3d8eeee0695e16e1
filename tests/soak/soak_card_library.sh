#!/usr/bin/env bash
# The real program against a card library that fails: for each case it starts, every one of the
# five windows opens through navigation clicks, a click on every control of each window is
# handled, the program exits cleanly, and every value sent to the card lies in its property's
# range. Cases: each property failing its get, failing its set, answering unterminated, oversized
# (longer than the buffer) and non-numeric text; no device; ConfLibInit failing; each entry point
# missing (the library with that export's name changed). The short form runs four starts (every
# get and set failing; every property answering badly in one of the three ways; no device;
# PropertyControl missing); QUORELLE_SOAK=1 the full matrix, one start per case, split over
# SOAK_SHARDS copies of this script at once (default: one per core), each with a Wine prefix
# and a display of its own; SOAK_SHARD=K/N runs every N-th case from the K-th (counting from 0).
. "$(dirname "$0")/soak_lib.bash"

if [ "$SOAK_LONG" = 1 ] && [ -z "${SOAK_SHARD:-}" ] && [ "${SOAK_SHARDS:-$(nproc)}" -gt 1 ]; then
    shards=${SOAK_SHARDS:-$(nproc)}
    outs=$(mktemp -d /tmp/quorelle-shards.XXXXXX)
    begin=$(date +%s)
    pids=()
    for ((k = 0; k < shards; k++)); do
        prefix=$WINEPREFIX
        [ "$k" = 0 ] || prefix=$WINEPREFIX-shard$k
        (env -u QUORELLE_XVFB -u DISPLAY SOAK_SHARD="$k/$shards" WINEPREFIX="$prefix" "$0" 2>&1 |
            sed -u "s/^/[$k] /" | tee "$outs/$k") &
        pids+=($!)
    done
    status=0
    for pid in "${pids[@]}"; do wait "$pid" || status=1; done
    # each part ends with its figures and "N checks, M failed": the sums of all parts
    figures=$(cat "$outs"/* | grep -E '^\[[0-9]+\] (cases |[0-9]+ checks)' | awk '
        / cases / { gsub(/[^0-9 ]/, " "); split($0, f, " ")
                    for (i = 2; i <= 9; i++) sum[i] += f[i] }
        / checks, / { checks += $2; fails += $4 }
        END { printf "%d %d %d %d %d %d %d %d %d %d\n", sum[2], sum[3], sum[4], sum[5], sum[6],
                     sum[7], sum[8], sum[9], checks, fails }')
    read -r cases failed starts crashes hangs clicks notices sets checks fails <<<"$figures"
    rm -rf "$outs"
    echo "cases $cases, failed $failed; starts $starts, crashes $crashes, hangs $hangs;" \
        "clicks $clicks, notices closed $notices, sets checked $sets;" \
        "$(($(date +%s) - begin)) s in $shards parts"
    echo "$checks checks, $fails failed"
    [ "$status" = 0 ] && [ "$fails" = 0 ] && [ "$checks" -gt 0 ]
    exit
fi
e2e_init

PROPERTIES=(GetSupportFeature IsSupportFormat DevSampleRateControl DevBitDepthControl
    DevChannelNumControl DeviceSpecificControl DefaultDeviceControl HPAmplifierControl
    ZODOZE_HPSPK_USEHP ZODOZE_HPSPK_ROOMSIZE Enable_ZODOZE_HPSPK_LFX RFX_ROOMSIZE RFX_ENVIRONMENT
    Enable_RFX_GFX Enable_EQ_GFX Enable_Channel_COPY_LFX Enable_VIRTUALBASS_LFX
    Enable_AUDIOBRILLIANT_LFX Enable_VOICECLARITY_LFX Enable_ADAPTIVEVOLUME_GFX
    EQ_Slider1 EQ_Slider2 EQ_Slider3 EQ_Slider4 EQ_Slider5 EQ_Slider6 EQ_Slider7 EQ_Slider8
    EQ_Slider9 EQ_Slider10)
# SOAK_PROPERTIES="A B ...": the long form for these properties only (a part of the matrix)
[ -n "${SOAK_PROPERTIES:-}" ] && read -ra PROPERTIES <<<"$SOAK_PROPERTIES"
EXPORTS=(ConfLibInit GetDeviceById PropertyControl RegisterCallbackFunction GetDeviceCount
    CreateDeviceList ConfLibUnInit ShowAsioPanel PlayTestSound StopTestSound CloseTestSound)
# SOAK_EXPORTS="A B ...": these entry points only
[ -n "${SOAK_EXPORTS:-}" ] && read -ra EXPORTS <<<"$SOAK_EXPORTS"
OVERSIZED=$(printf '9%.0s' $(seq 1 1500))  # longer than the 1024-byte buffer
DLL=$QUORELLE_ROOT/build/dist/osConfLib.dll

# without_export NAME: the card's library with export NAME renamed (its last letter becomes "~",
# which keeps the sorted order of the name table), written over E2E_DIR/osConfLib.dll
without_export() {
    perl -e '
        my ($in, $out, $name) = @ARGV;
        open my $f, "<:raw", $in or die; local $/; my $b = <$f>; close $f;
        my $u16 = sub { unpack "v", substr($b, $_[0], 2) };
        my $u32 = sub { unpack "V", substr($b, $_[0], 4) };
        my $pe = $u32->(0x3c);
        my $sections = $u16->($pe + 6);
        my $opt = $pe + 24;
        my $exportRva = $u32->($opt + 112);
        my $table = $opt + $u16->($pe + 20);
        my $offset = sub {
            my $rva = shift;
            for my $i (0 .. $sections - 1) {
                my $s = $table + 40 * $i;
                my ($va, $size, $raw) = ($u32->($s + 12), $u32->($s + 16), $u32->($s + 20));
                return $rva - $va + $raw if $rva >= $va && $rva < $va + $size;
            }
            die "rva $rva";
        };
        my $dir = $offset->($exportRva);
        my ($count, $names) = ($u32->($dir + 24), $offset->($u32->($dir + 32)));
        my $done = 0;
        for my $i (0 .. $count - 1) {
            my $at = $offset->($u32->($names + 4 * $i));
            next unless substr($b, $at, length($name) + 1) eq "$name\0";
            substr($b, $at + length($name) - 1, 1) = "~";
            $done = 1;
        }
        die "no export $name" unless $done;
        open $f, ">:raw", $out or die; print $f $b; close $f;
    ' "$DLL" "$E2E_DIR/osConfLib.dll" "$1"
}

CASES=0 CASE_FAILS=0 SETS=0 CASE_INDEX=0
# run_case NAME INI-TEXT [EXPORT]: one start of the program against the card set up so (a case
# of another part is skipped)
run_case() {
    local name=$1 config=$2 missing=${3:-} ok=1 page out
    CASE_INDEX=$((CASE_INDEX + 1))
    if [ -n "${SOAK_SHARD:-}" ] &&
        [ $(((CASE_INDEX - 1) % ${SOAK_SHARD#*/})) != "${SOAK_SHARD%/*}" ]; then
        return 0
    fi
    CASES=$((CASES + 1))
    rm -f "$E2E_DIR"/CPL.ini "$E2E_DIR"/Custom.ini "$E2E_DIR"/VirtualCard.*
    cp "$DLL" "$E2E_DIR/osConfLib.dll"
    [ -n "$missing" ] && { without_export "$missing" || ok=0; }
    printf '%s' "$config" | sed 's/$/\r/' >"$E2E_DIR/VirtualCard.ini"
    if soak_start; then
        for page in 1 2 3 4 0; do
            click_every_control "$page" || { ok=0; echo "      page $page failed" >&2; break; }
        done
        [ "$ok" = 1 ] && [ "$(visible_windows)" = 1 ] || ok=0
        soak_exit || ok=0
    else
        ok=0
    fi
    if [ -f "$E2E_DIR/VirtualCard.log" ]; then
        SETS=$((SETS + $(grep -c '^PropertyControl set ' "$E2E_DIR/VirtualCard.log")))
        out=$(sets_out_of_range "$E2E_DIR/VirtualCard.log")
        [ -z "$out" ] || { ok=0; echo "$out" | head -5 >&2; }
    fi
    check "$name" test "$ok" = 1
    [ "$ok" = 1 ] || CASE_FAILS=$((CASE_FAILS + 1))
}

begin=$(date +%s)
if [ "$SOAK_LONG" = 1 ]; then
    for p in "${PROPERTIES[@]}"; do
        run_case "$p: its get fails" "[Properties]
FailGet=$p"
        run_case "$p: its set fails" "[Properties]
FailSet=$p"
        run_case "$p: answers unterminated" "[Properties]
Unterminated=$p"
        run_case "$p: answers longer than the buffer" "[Answers]
$p=$OVERSIZED"
        run_case "$p: answers non-numeric text" "[Answers]
$p=x1-y"
    done
    for e in "${EXPORTS[@]}"; do run_case "$e missing" "" "$e"; done
else
    run_case "every get and every set fails" "[Properties]
FailGet=*
FailSet=*"
    # the first half of the properties answer unterminated, the other half longer than the
    # buffer or not a number, in turn
    run_case "answers unterminated, longer than the buffer, non-numeric" "[Properties]
Unterminated=$(IFS=,; echo "${PROPERTIES[*]:0:15}")
[Answers]
$(for ((i = 15; i < ${#PROPERTIES[@]}; i++)); do
        [ $((i % 2)) = 0 ] && echo "${PROPERTIES[$i]}=$OVERSIZED" || echo "${PROPERTIES[$i]}=x1-y"
    done)"
    run_case "PropertyControl missing" "" PropertyControl
fi
run_case "no device" "[Devices]
Output=
Input="
[ "$SOAK_LONG" = 1 ] && run_case "ConfLibInit fails" "[Library]
InitResult=-1"

echo "cases $CASES, failed $CASE_FAILS; starts $STARTS, crashes $CRASHES, hangs $HANGS;" \
    "clicks $CLICKS, notices closed $NOTICES, sets checked $SETS; $(($(date +%s) - begin)) s"
e2e_finish
