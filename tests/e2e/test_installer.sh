#!/usr/bin/env bash
# The setup program, silently: an installation into a fresh folder (a path with spaces) records
# the version texts, a shortcut and an uninstall entry, and the panel started from there shows
# them; an installation over a running panel closes it and keeps every key of the user's
# CPL.ini and Custom.ini; the uninstaller leaves no program file, shortcut or entry behind and
# keeps the settings unless asked; a card library that the setup did not bring stays, and the
# driver's recorded version is shown for it. An installation into a second folder moves the first
# one there (settings and all) and leaves no second uninstaller behind; an uninstaller of an
# unregistered copy leaves the registration and shortcut alone; the virtual card is told without
# the registration. The start at sign-in follows the installation and goes with its own copy only;
# /NOSTARTUP and /PREPARE write none.
. "$(dirname "$0")/lib.sh"
e2e_init
SETUP=$QUORELLE_ROOT/build/installer/QuorelleCPL-Setup.exe
if [ ! -f "$SETUP" ]; then
    echo "FAIL  no setup program at $SETUP (make builds it)"
    exit 1
fi
cp "$SETUP" "$E2E_DIR/"
VERSION=$(sed -n 's/^#define QUORELLE_VERSION_\(MAJOR\|MINOR\|PATCH\|BUILD\) //p' \
    "$QUORELLE_ROOT/src/base/version.h" | paste -sd.)
UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuorelleCPL'
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
DRIVER_KEY='HKLM\SYSTEM\CurrentControlSet\Control\Class\{4d36e96c-e325-11ce-bfc1-08002be10318}\9999'
INFO="$E2E_TITLE - Information"

# the default folder of the setup and a second one on drive C:
FIRST="$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)"
FIRST="${FIRST%/}/Programs/Vandrexo Quorelle"
QB=$WINEPREFIX/drive_c/QB
qb() { E2E_DIR=$QB ini "$@"; }  # qb SECTION KEY: C:\QB\CPL.ini
# Whatever a failed run leaves in the shared prefix goes with it.
leftovers() {
    wine reg delete "$UNINSTALL_KEY" /f
    wine reg delete "$DRIVER_KEY" /f
    wine reg delete "$RUN_KEY" /v "Quorelle Control Panel" /f
    find "$WINEPREFIX/drive_c/users" -name 'Quorelle Control Panel.lnk' -delete
    rm -rf "$FIRST" "$QB"
}
leftovers >/dev/null 2>&1
trap 'leftovers >/dev/null 2>&1; e2e_cleanup' EXIT

winpath() { echo "Z:${1//\//\\}"; }
# install FOLDER: the setup, silent, into FOLDER, in English. /D= takes the rest of the command
# line as it stands (spaces included), so cmd passes it on unquoted.
install() { install_at "$(winpath "$1")"; }
install_at() {  # install_at WINDOWS-FOLDER [SWITCH...], or the setup's choice with ""
    LC_ALL=en_US.UTF-8 wine cmd /c "$(winpath "$E2E_DIR/QuorelleCPL-Setup.exe") /S ${*:2}${1:+ /D=$1}" \
        >/dev/null 2>&1
}
# uninstall FOLDER [SWITCH...]: its uninstaller, silent; it runs on from a copy of itself
uninstall() {
    wine "$1/Uninstall.exe" /S "${@:2}" >/dev/null 2>&1 && wineserver -w
}
# the Start-menu shortcut names this program (the path is stored as 8-bit and as UTF-16 text)
shortcut_to() {
    local lnk
    lnk=$(find "$WINEPREFIX/drive_c/users" -path '*/Start Menu/Programs/Quorelle Control Panel.lnk') &&
        [ -n "$lnk" ] && { strings -a "$lnk"; strings -a -el "$lnk"; } | grep -ciF "$1" >/dev/null
}
shortcut() { find "$WINEPREFIX/drive_c/users" -path '*/Start Menu/Programs/Quorelle Control Panel.lnk' | grep -q .; }
entry() { wine reg query "$UNINSTALL_KEY" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }
# the start at sign-in: its data, and whether there is one
startup() { wine reg query "$RUN_KEY" /v "Quorelle Control Panel" 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *Quorelle Control Panel *REG_SZ *//p'; }
no_startup() { ! wine reg query "$RUN_KEY" /v "Quorelle Control Panel" >/dev/null 2>&1; }
starts() { [ "$(startup)" = "\"$1\\QuorelleCPL.exe\" /tray" ]; }  # starts WINDOWS-FOLDER
has() { local f; for f in "${@:2}"; do [ -e "$1/$f" ] || return 1; done; }
lacks() { local f; for f in "${@:2}"; do [ ! -e "$1/$f" ] || return 1; done; }

REL="Programs x64/Quorelle Panel"
DIR=$E2E_DIR/$REL
mkdir -p "$E2E_DIR/Programs x64"
inst() { ini "$1" "$2" "$REL/CPL.ini"; }  # inst SECTION KEY: the installed CPL.ini

# --- a fresh folder --------------------------------------------------------------------------
check "a silent install into a fresh folder succeeds" install "$DIR"
check "... with the program, the card library and the uninstaller" \
    has "$DIR" QuorelleCPL.exe osConfLib.dll Uninstall.exe
build=$(wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentBuildNumber |
    tr -d '\r' | awk '/CurrentBuildNumber/ {print $3}')
check "[Info] OS names the system and its build ($(inst Info OS))" \
    eval '[[ "$(inst Info OS)" =~ ^Windows\ .*\.$build$ ]]'
check "[Info] DriverVer names the virtual card" eval '[ "$(inst Info DriverVer)" = "Virtual card $VERSION" ]'
check "[Info] CPLVer is the program's version" eval '[ "$(inst Info CPLVer)" = "$VERSION" ]'
check "the panel speaks the setup's language" eval '[ "$(inst CPL language)" = 2 ]'
check "a Start-menu shortcut" shortcut
check "an uninstall entry with the version" eval '[ "$(entry DisplayVersion)" = "$VERSION" ]'
check "... the folder" eval '[ "$(entry InstallLocation)" = "$(winpath "$DIR")" ]'
check "... and a silent uninstaller" \
    eval '[ "$(entry QuietUninstallString)" = "\"$(winpath "$DIR")\\Uninstall.exe\" /S" ]'
check "... and a start at sign-in in the notification area ($(startup))" starts "$(winpath "$DIR")"

# --- the panel started from there ------------------------------------------------------------
(cd "$DIR" && exec wine ./QuorelleCPL.exe) >/dev/null 2>&1 &
PANEL_PID=$!
check "the installed panel starts" probe wait "$E2E_TITLE" 30000
click_control "$E2E_TITLE" 1005
check "its information page opens" visible "$INFO"
check "it shows the installed OS text" eventually eval '[ "$(probe text "$INFO" 1065)" = "$(inst Info OS)" ]'
check "... the driver text" eventually eval '[ "$(probe text "$INFO" 1066)" = "Virtual card $VERSION" ]'
check "... and the panel's version" eventually eval '[ "$(probe text "$INFO" 1067)" = "$VERSION" ]'
check "it runs the card library of its folder" eventually test -s "$DIR/VirtualCard.log"
# the tray menu's Start with Windows over the setup's value: ticked, it removes the value, and
# chosen again writes it for this copy as the setup did (a real click on the item each time)
tray_menu() { probe post "$E2E_TITLE" 1129 151 0x204 >/dev/null && probe menu "$E2E_TITLE" 5000; }
check "the tray menu ticks Start with Windows: the setup's value starts this copy" \
    eval 'tray_menu && [ "$(menu_marks "Start with Windows")" = checked ]'
menu_click "Start with Windows"
check "... choosing it removes the value" eventually no_startup
tray_menu && menu_click "Start with Windows"
check "... and choosing it again writes it as the setup did" eventually starts "$(winpath "$DIR")"

# --- over the running panel and the user's settings -------------------------------------------
printf '[CPL]\r\nlanguage=1\r\nHeadPhone=1\r\n[Hifi]\r\neq_3=-7\r\nCustomCount=1\r\nCustom0=Rock & Roll\r\n[Info]\r\nOS=old system\r\nDriverVer=old\r\nCPLVer=0.9\r\nNote=mine\r\n' \
    >"$DIR/CPL.ini"
printf '[Rock & Roll]\r\neq_0=3\r\neq_9=-2\r\n' >"$DIR/Custom.ini"
cp "$DIR/Custom.ini" "$E2E_DIR/Custom.before"
check "an install over the running panel succeeds" install "$DIR"
check "... and closes the panel first" eval 'panel_wait 10; [ $? -ne 124 ]'
check "the user's keys are kept" eval '[ "$(inst CPL language)" = 1 ] && [ "$(inst CPL HeadPhone)" = 1 ] &&
    [ "$(inst Hifi eq_3)" = -7 ] && [ "$(inst Hifi CustomCount)" = 1 ] &&
    [ "$(inst Hifi Custom0)" = "Rock & Roll" ] && [ "$(inst Info Note)" = mine ]'
check "the version texts are renewed" eval '[ "$(inst Info CPLVer)" = "$VERSION" ] &&
    [ "$(inst Info DriverVer)" = "Virtual card $VERSION" ] && [ "$(inst Info OS)" != "old system" ]'
check "Custom.ini is untouched" cmp -s "$DIR/Custom.ini" "$E2E_DIR/Custom.before"
cp "$DIR/CPL.ini" "$E2E_DIR/CPL.before"

# --- removal ---------------------------------------------------------------------------------
check "a silent uninstall succeeds" uninstall "$DIR"
check "... leaves no program file" lacks "$DIR" QuorelleCPL.exe osConfLib.dll Uninstall.exe VirtualCard.log
check "... no shortcut" eval '! shortcut'
check "... no uninstall entry" eval '! wine reg query "$UNINSTALL_KEY" >/dev/null 2>&1'
check "... no start at sign-in" no_startup
check "... and keeps the settings files as they were" eval 'cmp -s "$DIR/CPL.ini" "$E2E_DIR/CPL.before" &&
    cmp -s "$DIR/Custom.ini" "$E2E_DIR/Custom.before"'

# --- a folder that holds the card's own library ----------------------------------------------
DRIVER_DIR=$E2E_DIR/Driver
mkdir -p "$DRIVER_DIR"
printf 'the card library of the driver package\n' >"$DRIVER_DIR/osConfLib.dll"
cp "$DRIVER_DIR/osConfLib.dll" "$E2E_DIR/library.before"
wine reg add "$DRIVER_KEY" /v DriverDesc /d "$E2E_TITLE" /f >/dev/null 2>&1
wine reg add "$DRIVER_KEY" /v DriverVersion /d 6.0.9.1234 /f >/dev/null 2>&1
check "an install beside the card's own library succeeds" install "$DRIVER_DIR"
check "... keeps that library" cmp -s "$DRIVER_DIR/osConfLib.dll" "$E2E_DIR/library.before"
check "... and records the driver's version" eval '[ "$(ini Info DriverVer Driver/CPL.ini)" = 6.0.9.1234 ]'
check "removing it with the settings succeeds" uninstall "$DRIVER_DIR" /REMOVESETTINGS
check "... leaves only the card's library" eval '[ "$(ls -A "$DRIVER_DIR")" = osConfLib.dll ]'

# --- a second folder moves the installation --------------------------------------------------
check "a silent install into the default folder succeeds" install_at ""
check "... which is the per-user programs folder" has "$FIRST" QuorelleCPL.exe osConfLib.dll Uninstall.exe
printf '[CPL]\r\nlanguage=1\r\nHeadPhone=1\r\n[Hifi]\r\neq_3=-7\r\n[Info]\r\nNote=mine\r\n' >"$FIRST/CPL.ini"
cp "$E2E_DIR/Custom.before" "$FIRST/Custom.ini"
printf 'my own notes\n' >"$FIRST/notes.txt"
(cd "$FIRST" && exec wine ./QuorelleCPL.exe) >/dev/null 2>&1 &
PANEL_PID=$!
check "the panel runs from there" probe wait "$E2E_TITLE" 30000
check "an install into C:\\QB succeeds" install_at 'C:\QB'
check "... closes the panel of the first folder" eval 'panel_wait 10; [ $? -ne 124 ]'
check "... removes the first copy, its uninstaller with it, and keeps only the user's file there" \
    eval '[ "$(ls -A "$FIRST")" = notes.txt ]'
check "... installs the program into C:\\QB" has "$QB" QuorelleCPL.exe osConfLib.dll Uninstall.exe
check "... registered there" eval '[ "$(entry InstallLocation)" = "C:\\QB" ] &&
    [ "$(entry QuietUninstallString)" = "\"C:\\QB\\Uninstall.exe\" /S" ]'
check "... with the shortcut to it" shortcut_to 'C:\QB\QuorelleCPL.exe'
check "... and the start at sign-in ($(startup))" starts 'C:\QB'
check "... and the settings carried over" eval '[ "$(qb CPL language)" = 1 ] &&
    [ "$(qb CPL HeadPhone)" = 1 ] && [ "$(qb Hifi eq_3)" = -7 ] &&
    [ "$(qb Info Note)" = mine ] && cmp -s "$QB/Custom.ini" "$E2E_DIR/Custom.before"'
check "... with the virtual card's state" has "$QB" VirtualCard.state
check "... and the version texts renewed" eval '[ "$(qb Info CPLVer)" = "$VERSION" ] &&
    [ "$(qb Info DriverVer)" = "Virtual card $VERSION" ]'

STRAY=$E2E_DIR/Stray
mkdir -p "$STRAY"
cp "$QB/QuorelleCPL.exe" "$QB/osConfLib.dll" "$QB/Uninstall.exe" "$STRAY/"
(cd "$QB" && exec wine ./QuorelleCPL.exe) >/dev/null 2>&1 &
PANEL_PID=$!
check "the panel runs from C:\\QB" probe wait "$E2E_TITLE" 30000
# (the uninstaller goes on from a copy of itself; the Wine server stays for the panel)
check "the uninstaller of an unregistered copy removes that copy" \
    eval 'wine "$STRAY/Uninstall.exe" /S >/dev/null 2>&1; eventually test ! -e "$STRAY"'
check "... and leaves the registration, the shortcut, the start at sign-in and the running panel alone" \
    eval '[ "$(entry InstallLocation)" = "C:\\QB" ] && shortcut_to "C:\\QB\\QuorelleCPL.exe" &&
    starts "C:\\QB" && kill -0 "$PANEL_PID"'

wine reg delete "$UNINSTALL_KEY" /f >/dev/null 2>&1
wine reg add "$RUN_KEY" /v "Quorelle Control Panel" /d '"c:\qb\QUORELLECPL.exe" /tray' /f >/dev/null 2>&1
check "a reinstall without the registration succeeds, with /NOSTARTUP" install_at 'C:\QB' /NOSTARTUP
check "... and closes the panel" eval 'panel_wait 10; [ $? -ne 124 ]'
check "... and still knows its virtual card" \
    eval '[ "$(qb Info DriverVer)" = "Virtual card $VERSION" ]'
check "... and removes its own start at sign-in, named in other letter cases" no_startup
sed -i 's/^CPLVer=[^\r]*/CPLVer=0.9/' "$QB/CPL.ini"
wine "$(winpath "$E2E_DIR/QuorelleCPL-Setup.exe")" /S /PREPARE '/D=C:\QB' >/dev/null 2>&1
check "/PREPARE renews the texts and writes no start at sign-in" \
    eval '[ "$(qb Info CPLVer)" = "$VERSION" ] && no_startup'
# its start at sign-in as a person may write it: unquoted, in other letter cases
wine reg add "$RUN_KEY" /v "Quorelle Control Panel" /d 'c:\qb\QUORELLECPL.EXE /tray' /f >/dev/null 2>&1
check "removing it with the settings succeeds" uninstall "$QB" /REMOVESETTINGS
check "... and leaves neither the folder, the shortcut, the entry nor its start at sign-in" \
    eval '[ ! -e "$QB" ] && ! shortcut && ! wine reg query "$UNINSTALL_KEY" >/dev/null 2>&1 && no_startup'

# --- its pages' picture at the display's scale -----------------------------------------------
# Started with its pages at 96 and at 192 dots per inch (a prefix of each), the setup shows from
# the top-left corner of its welcome page the picture drawn for that scale, pixel for pixel
# (unstretched: the 100 % picture stretched to the 200 % size is not it), and the screen equals a
# full repaint. E2E_SHOTS=dir keeps the screenshots.
ART=$QUORELLE_ROOT/build/win/skin/installer
SETUP_TITLE="Quorelle Control Panel Setup"
SETUP_PID=
setup_start() {  # the setup with its pages, in English, into the default folder
    wine reg add "$UNINSTALL_KEY" /v SetupLanguage /d 1033 /f >/dev/null 2>&1
    (cd "$E2E_DIR" && LC_ALL=en_US.UTF-8 exec wine ./QuorelleCPL-Setup.exe) >/dev/null 2>&1 &
    SETUP_PID=$!
    probe wait "$SETUP_TITLE" 30000
}
# page_shows PERCENT SHOT: the page the setup shows (its visible inner dialog), from its top-left
# corner and as high as it is, is the picture drawn for PERCENT, whose foot the page cuts off;
# saved as SHOT
page_shows() {
    local pic=$ART/welcome-$1.bmp page w differ
    page=($(probe controls "$SETUP_TITLE" | awk '$6 == 1 && $7 == "#32770" {print $2, $3, $5; exit}'))
    [ "${#page[@]}" = 3 ] && w=$(identify -format %w "$pic") || return 1
    probe stale "$SETUP_TITLE" >/dev/null  # (waits until the screen is still)
    import -window root -crop "${w}x${page[2]}+${page[0]}+${page[1]}" +repage "$E2E_DIR/$2" &&
        convert "$pic" -crop "${w}x${page[2]}+0+0" +repage "$E2E_DIR/expected-$2" || return 1
    [ -n "${E2E_SHOTS:-}" ] && mkdir -p "$E2E_SHOTS" && cp "$E2E_DIR/$2" "$E2E_SHOTS/"
    differ=$(compare -metric AE "$E2E_DIR/expected-$2" "$E2E_DIR/$2" null: 2>&1)
    echo "      (${w}x${page[2]} of the $1 % picture: $differ pixels differ)"
    [ "$differ" = 0 ]
}
# a real Return moves on to the components page, whose check boxes are drawn at the window's
# scale: the first one's left edge (from the top of the list) is 12 px tall or more per 96 dpi
# (13 px at 96 dpi)
boxes_scaled() {
    local r s x h
    xdotool key Return && probe wait "$SETUP_TITLE " 10000 &&
        r=($(probe ctlrect "$SETUP_TITLE " 1032)) || return 1
    s=$((16 * QUORELLE_DPI / 96))
    import -window root -crop "${s}x${s}+$((r[0] + 2))+$((r[1] + 2))" +repage "$E2E_DIR/boxes.png" &&
        x=$(convert "$E2E_DIR/boxes.png" -trim -format %X info:) || return 1
    h=$(convert "$E2E_DIR/boxes.png" -crop "1x$s+$x+0" +repage txt:- |
        awk 'NR > 1 && !/#FFFFFF/ {n++} NR > 1 && /#FFFFFF/ && n {exit} END {print n + 0}')
    echo "      (the first check box is $h px tall)"
    [ $((h * 96)) -ge $((12 * QUORELLE_DPI)) ]
}
setup_end() {
    kill "$SETUP_PID" 2>/dev/null
    wait "$SETUP_PID" 2>/dev/null
    leftovers >/dev/null 2>&1
}

# (the first at the scale the script runs at, 96 dpi unless QUORELLE_DPI says otherwise)
check "at $QUORELLE_DPI dpi the setup shows its pages" setup_start
check "... its welcome page the $((QUORELLE_DPI * 100 / 96)) % picture" \
    page_shows $((QUORELLE_DPI * 100 / 96)) "welcome-$QUORELLE_DPI.png"
check "... and the screen equals a full repaint" eval 'probe stale "$SETUP_TITLE" >/dev/null'
check "... its components page the check boxes of its scale" boxes_scaled
setup_end

quorelle_end_wine
QUORELLE_DPI=192
WINEPREFIX=$QUORELLE_ROOT/build/wine-dpi192
quorelle_prepare_prefix
check "at 192 dpi the setup shows its pages" setup_start
check "... its welcome page the 200 % picture" page_shows 200 welcome-192.png
check "... and the screen equals a full repaint" eval 'probe stale "$SETUP_TITLE" >/dev/null'
check "... its components page the check boxes of its scale" boxes_scaled
setup_end

e2e_finish
