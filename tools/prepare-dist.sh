#!/usr/bin/env bash
# Prepares a folder that holds the panel (build/dist unless another is named) as the setup
# prepares an installation, by running the setup program itself with /PREPARE: it writes the
# information page's version texts into CPL.ini [Info] (OS, CPLVer, DriverVer) and, when the
# file has no [CPL] language, the language the setup would choose on this system; every other
# key stays. Under Wine "this system" is the locale Wine takes from LC_ALL, LC_MESSAGES or LANG
# (zh_CN: Simplified Chinese, zh_TW: Traditional Chinese, English or any other: English; a
# locale that is not generated on the machine counts as none), unless a setup installed in the
# prefix remembered its language there.
# Expects the prefix (and a display, if any) to be ready: tools/run-panel.sh calls it.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
dir=${1:-$QUORELLE_ROOT/build/dist}
setup=$QUORELLE_ROOT/build/installer/QuorelleCPL-Setup.exe
if [ ! -f "$setup" ]; then
    echo "no setup program: $dir/CPL.ini stays as it is (tools/setup.sh installs nsis)" >&2
    exit 0
fi
win=$(winepath -w "$dir" 2>/dev/null) || exit 1
# /D= must come last and unquoted; Wine quotes an argument that holds a space, so the path goes
# in as space-separated words, which Wine joins with single spaces again.
IFS=' ' read -ra words <<<"/D=$win"
wine "$setup" /S /PREPARE "${words[@]}" >/dev/null 2>&1
rc=$?
if [ "$rc" -ne 0 ]; then
    echo "the setup could not prepare $dir (exit code $rc)" >&2
    exit 1
fi
