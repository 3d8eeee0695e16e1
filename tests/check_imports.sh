#!/usr/bin/env bash
# The program must run from its directory alone: it may import system DLLs only, never a
# compiler runtime (libstdc++, libgcc, libwinpthread) or anything else beside it.
set -euo pipefail
dist=${1:?dist directory}
exe=$dist/QuorelleCPL.exe
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|msimg32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+|shlwapi|uxtheme|version|winmm)\.dll$'
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no import table read from $exe"; exit 1; }
bad=0
for d in $dlls; do
    if [[ $d =~ $allowed ]]; then echo "ok       $d"; else echo "FORBIDDEN $d"; bad=1; fi
done
# GUI subsystem (2) with the Unicode entry point
grep -q 'Subsystem\s*00000002' <<<"$headers" || { echo "not a GUI program"; bad=1; }
symbols=$(x86_64-w64-mingw32-objdump -t "$exe")
grep -q ' wWinMain$' <<<"$symbols" || { echo "no wWinMain entry"; bad=1; }
exit $bad
