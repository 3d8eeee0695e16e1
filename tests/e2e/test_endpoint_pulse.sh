#!/usr/bin/env bash
# The audio endpoint services against real endpoints: a private PulseAudio daemon on a socket in
# this test's temporary directory, with null sinks named as the endpoints of a sound card, and
# the EndpointPulse tests of win32_tests.exe under Wine talking to it.
set -uo pipefail
QUORELLE_ROOT=${QUORELLE_ROOT:-$(cd "$(dirname "$0")/../.." && pwd)}
. "$QUORELLE_ROOT/tools/wine-env.sh"
TESTS=${QUORELLE_WIN32_TESTS:-$QUORELLE_ROOT/build/win/tests/win32/win32_tests.exe}

dir=$(mktemp -d /tmp/quorelle-pulse.XXXXXX)
pulse_pid=

cleanup() {
    if [ -n "$pulse_pid" ]; then
        kill "$pulse_pid" 2>/dev/null
        wait "$pulse_pid" 2>/dev/null
    fi
    quorelle_stop_xvfb
    rm -rf "$dir"
}
trap cleanup EXIT

# The daemon keeps everything of its own in the temporary directory; it runs as root here.
mkdir -p "$dir/home" "$dir/runtime" "$dir/state"
export PULSE_SERVER=unix:$dir/native
pulse_env=(env HOME="$dir/home" PULSE_RUNTIME_PATH="$dir/runtime" PULSE_STATE_PATH="$dir/state"
    XDG_RUNTIME_DIR="$dir/runtime" XDG_CONFIG_HOME="$dir/home/.config")
"${pulse_env[@]}" pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --log-target=stderr -L "module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
    2>"$dir/pulseaudio.log" &
pulse_pid=$!

ready=
for _ in $(seq 50); do
    if "${pulse_env[@]}" pactl info >/dev/null 2>&1; then
        ready=1
        break
    fi
    sleep 0.2
done
if [ -z "$ready" ]; then
    echo "FAIL  the PulseAudio daemon did not start:"
    cat "$dir/pulseaudio.log"
    exit 1
fi

# The endpoints: the same names as the table of tests/win32/endpoint_pulse_test.cpp.
sinks=("Master" "扬声器 (Quorelle PCI-E)" "Line Out" "数字输出 (Quorelle PCI-E)" "揚聲器"
    "Quorelle SPDIF Out" "SPDIF 扬声器")
n=0
for name in "${sinks[@]}"; do
    n=$((n + 1))
    if ! "${pulse_env[@]}" pactl load-module module-null-sink sink_name=quorelle$n \
        "sink_properties='device.description=\"$name\"'" >/dev/null; then
        echo "FAIL  could not make the sink \"$name\""
        exit 1
    fi
done

quorelle_start_xvfb
quorelle_prepare_prefix
QUORELLE_PULSE=1 wine "$TESTS" --gtest_filter='EndpointPulse.*' 2>&1 | tr -d '\r' |
    grep -v '^ALSA lib ' | tee "$dir/tests.log"
rc=${PIPESTATUS[0]}
# skipped tests would mean the daemon was not seen: that is a failure here
if [ "$rc" -eq 0 ] && grep -q '^\[       OK \]' "$dir/tests.log" && ! grep -q SKIPPED "$dir/tests.log"; then
    echo "ok    endpoint services with a PulseAudio daemon"
    exit 0
fi
echo "FAIL  endpoint services with a PulseAudio daemon"
exit 1
