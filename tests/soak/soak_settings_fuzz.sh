#!/usr/bin/env bash
# Generated CPL.ini and Custom.ini files through every page model, natively under AddressSanitizer
# and UBSan (build/native/tests/settings_fuzz): 200 files, or 10,000 with QUORELLE_SOAK=1.
# QUORELLE_FUZZ_SEED picks the first seed (default 1); the files run on every core
# (QUORELLE_FUZZ_JOBS to choose). Prints the files, seeds, calls, crashes,
# out-of-range sends and keys and the longest run; exits non-zero on any failure and names the
# seeds to replay.
set -uo pipefail
cd "$(dirname "$0")/../.."
fuzz=build/native/tests/settings_fuzz
if [ ! -x "$fuzz" ]; then
    echo "missing $fuzz (make native builds it)" >&2
    exit 1
fi
count=200
[ "${QUORELLE_SOAK:-0}" = 1 ] && count=10000
# a sanitizer report or a leak ends the file's child process and counts as a crash
UBSAN_OPTIONS=print_stacktrace=1 "$fuzz" --seed "${QUORELLE_FUZZ_SEED:-1}" --count "$count" \
    --jobs "${QUORELLE_FUZZ_JOBS:-$(nproc)}"
