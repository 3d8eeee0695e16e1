#!/usr/bin/env bash
# soak-only: the short form runs in win32_tests (KillTest, Differential).
# The long form of the settings tests; prints their figures and exits non-zero on a failure:
# 5000 generated settings files read and written by the program's backend and by the platform's
# functions (ANSI code pages 1252 and 936), and 250 kills of a process while it writes settings
# (and 250 of one writing through the platform's functions, for comparison).
set -uo pipefail
cd "$(dirname "$0")/../.."
tests=build/win/tests/win32/win32_tests.exe
status=0
QUORELLE_SOAK=1 tools/wine-run.sh "$tests" --gtest_brief=1 \
    --gtest_filter='KillTest.*:Differential.*' | tr -d '\r' || status=1
QUORELLE_SOAK=1 LC_ALL=zh_CN.UTF-8 tools/wine-run.sh "$tests" --gtest_brief=1 \
    --gtest_filter='Differential.*' | tr -d '\r' || status=1
exit $status
