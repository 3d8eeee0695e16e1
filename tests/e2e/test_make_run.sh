#!/usr/bin/env bash
# `make run` starts the panel as an installed copy starts: tools/run-panel.sh, headless, on a
# folder without settings writes the version texts and the language the setup would choose for
# the system's locale into CPL.ini before the panel starts; a CPL.ini of the developer's keeps
# every key and its language, and gets the texts renewed. It runs on copies of build/dist
# (QUORELLE_DIST, QUORELLE_SCREENSHOTS), so build/dist and build/screenshots stay as they are.
. "$(dirname "$0")/lib.sh"
e2e_init
VERSION=$(sed -n 's/^#define QUORELLE_VERSION_\(MAJOR\|MINOR\|PATCH\|BUILD\) //p' \
    "$QUORELLE_ROOT/src/base/version.h" | paste -sd.)
if [ ! -f "$QUORELLE_ROOT/build/installer/QuorelleCPL-Setup.exe" ]; then
    echo "FAIL  no setup program (make builds it; the preparation runs it)"
    exit 1
fi
wine_build=$(wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentBuildNumber |
    tr -d '\r' | awk '/CurrentBuildNumber/ {print $3}')
# version_texts FOLDER: [Info] as the setup writes it
version_texts() {
    [[ "$(E2E_DIR=$1 ini Info OS)" =~ ^Windows\ .*\.$wine_build$ ]] &&
        [ "$(E2E_DIR=$1 ini Info CPLVer)" = "$VERSION" ] &&
        [ "$(E2E_DIR=$1 ini Info DriverVer)" = "Virtual card $VERSION" ]
}

# --- the whole `make run` path, headless, in English ------------------------------------------
RUN=$E2E_DIR/run
mkdir -p "$RUN"
cp "$QUORELLE_ROOT"/build/dist/QuorelleCPL.exe "$QUORELLE_ROOT"/build/dist/osConfLib.dll "$RUN/"
check "run-panel.sh runs the panel headless and ends" \
    env -u DISPLAY -u QUORELLE_XVFB LC_ALL=en_US.UTF-8 QUORELLE_DIST="$RUN" \
    QUORELLE_SCREENSHOTS="$E2E_DIR/shots" bash "$QUORELLE_ROOT/tools/run-panel.sh" >/dev/null
check "... with a screenshot of the main window" test -s "$E2E_DIR/shots/main.png"
check "... started in English" eval '[ "$(E2E_DIR=$RUN ini CPL language)" = 2 ]'
check "... with the version texts" version_texts "$RUN"

# --- the preparation alone: locale, and the developer's own file -----------------------------
# prepare LOCALE [CPL.ini content]: a fresh folder "$E2E_DIR/<locale>" prepared under the locale
prepare() {
    local dir=$E2E_DIR/$1
    mkdir -p "$dir"
    cp "$QUORELLE_ROOT"/build/dist/QuorelleCPL.exe "$QUORELLE_ROOT"/build/dist/osConfLib.dll "$dir/"
    [ -z "${2:-}" ] || printf '%b' "$2" >"$dir/CPL.ini"
    LC_ALL=$1 bash "$QUORELLE_ROOT/tools/prepare-dist.sh" "$dir"
}
# locale : language written into a folder without settings
for row in "zh_CN.UTF-8 0" "en_US.UTF-8 2" "C 2"; do
    read -r loc lang <<<"$row"
    check "a folder prepared under $loc speaks language $lang" \
        eval 'prepare $loc && [ "$(E2E_DIR=$E2E_DIR/$loc ini CPL language)" = $lang ]'
done
OWN='[CPL]\r\nlanguage=1\r\nHeadPhone=1\r\n[Hifi]\r\neq_3=-7\r\n[Info]\r\nOS=old\r\nCPLVer=0.9\r\nNote=mine\r\n'
check "a developer's CPL.ini is prepared" prepare zh_CN.utf8 "$OWN"
OWN_DIR=$E2E_DIR/zh_CN.utf8
check "... keeps its language and its other keys" eval '[ "$(E2E_DIR=$OWN_DIR ini CPL language)" = 1 ] &&
    [ "$(E2E_DIR=$OWN_DIR ini CPL HeadPhone)" = 1 ] && [ "$(E2E_DIR=$OWN_DIR ini Hifi eq_3)" = -7 ] &&
    [ "$(E2E_DIR=$OWN_DIR ini Info Note)" = mine ]'
check "... and renews the version texts" version_texts "$OWN_DIR"

e2e_finish
