#!/usr/bin/env bash
# The long form of the settings tests; prints their figures and exits non-zero on a failure:
# 5000 generated settings files read and written by the program's backend and by the platform's
# functions (ANSI code pages 1252 and 936), and 250 kills of a process while it writes settings
# (and 250 of one writing through the platform's functions, for comparison).
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$QUORELLE_ROOT"
quorelle_start_xvfb
trap 'wineserver -k 2>/dev/null; quorelle_stop_xvfb' EXIT
quorelle_prepare_prefix
tests=build/win/tests/win32/win32_tests.exe
status=0
QUORELLE_SOAK=1 wine "$tests" --gtest_brief=1 --gtest_filter='KillTest.*:Differential.*' |
    tr -d '\r' || status=1
QUORELLE_SOAK=1 LC_ALL=zh_CN.UTF-8 wine "$tests" --gtest_brief=1 --gtest_filter='Differential.*' |
    tr -d '\r' || status=1
exit $status
