# Sourced by the scripts that run Windows programs: the shared Wine prefix and a display.
# QUORELLE_ROOT: the repository. QUORELLE_DPI: the display's dots per inch that every program in
# the prefix sees (96 unless set; e.g. 144 for 150 %, 192 for 200 %). WINEPREFIX: build/wine
# unless set, build/wine-dpiN for another DPI, so that prefixes of different scales never mix.
QUORELLE_ROOT=${QUORELLE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
QUORELLE_DPI=${QUORELLE_DPI:-96}
if [ "$QUORELLE_DPI" = 96 ]; then
    export WINEPREFIX=${WINEPREFIX:-$QUORELLE_ROOT/build/wine}
else
    export WINEPREFIX=${WINEPREFIX:-$QUORELLE_ROOT/build/wine-dpi$QUORELLE_DPI}
fi
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# no Mono/Gecko installer prompts in a prefix that never needs them
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Creates the prefix once (about 15 s) with the font fixes the panel needs:
# Wine's own Tahoma for "MS Shell Dlg", WenQuanYi Micro Hei for the Chinese UI font,
# and no stand-in tray window.
quorelle_prepare_prefix() {
    local stamp=$WINEPREFIX/.quorelle-ready
    if [ -f "$stamp" ]; then
        quorelle_window_management N
        quorelle_systray N
        return 0
    fi
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [ -f "$stamp" ] && exit 0
        echo "wine: preparing the prefix $WINEPREFIX" >&2
        wineboot -u >/dev/null 2>&1 || true
        wineserver -w
        local fonts=$WINEPREFIX/drive_c/windows/Fonts
        mkdir -p "$fonts"
        cp /usr/share/wine/fonts/tahoma*.ttf "$fonts/"
        local reg=$WINEPREFIX/quorelle.reg
        printf 'Windows Registry Editor Version 5.00\r\n\r\n' >"$reg"
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n' >>"$reg"
        printf '"Microsoft YaHei"="WenQuanYi Micro Hei"\r\n' >>"$reg"
        printf '"\xe5\xbe\xae\xe8\xbd\xaf\xe9\x9b\x85\xe9\xbb\x91"="WenQuanYi Micro Hei"\r\n' >>"$reg"
        printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"ShowSystray"="N"\r\n' >>"$reg"
        printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' \
            "$QUORELLE_DPI" >>"$reg"
        # regedit reads .reg files as UTF-16 or ANSI: hand it UTF-16
        iconv -f UTF-8 -t UTF-16 "$reg" >"$reg.utf16"
        wine regedit /S "$(winepath -w "$reg.utf16" 2>/dev/null)" >/dev/null 2>&1
        wineserver -w
        touch "$stamp"
    ) 9>"$WINEPREFIX.lock"
    quorelle_window_management N
}

# Whether Wine hands its top-level windows to a window manager (Y) or places them itself (N).
# Xvfb has no window manager, and Wine waits up to 2 s for one whenever a managed window is
# hidden, so every page switch would take 2 s there; the tests and the headless run use N. A
# desktop with a window manager gets Y back (tools/run-panel.sh).
quorelle_window_management() {
    local want=$1 stamp=$WINEPREFIX/.quorelle-unmanaged
    if [ "$want" = N ] && [ -f "$stamp" ]; then return 0; fi
    if [ "$want" = Y ] && [ ! -f "$stamp" ]; then return 0; fi
    (
        flock 9
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$want" /f >/dev/null 2>&1
        wineserver -w
        if [ "$want" = N ]; then touch "$stamp"; else rm -f "$stamp"; fi
    ) 9>"$WINEPREFIX.lock"
}

# Whether the notification area's icons show in the small tray window Wine draws itself when no
# desktop tray is there ("Wine System Tray", at the screen's top-left): N for the tests, which
# leave it out; Y for a script that clicks the panel's icon, before its first program starts.
# Wine reads the setting when the prefix's server starts, so a running server is ended first.
# Preparing the prefix sets N again, also after a script that ended without doing so.
quorelle_systray() {
    local want=$1 stamp=$WINEPREFIX/.quorelle-systray
    if [ "$want" = N ] && [ ! -f "$stamp" ]; then return 0; fi
    if [ "$want" = Y ] && [ -f "$stamp" ]; then return 0; fi
    quorelle_end_wine
    (
        flock 9
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v ShowSystray /d "$want" /f >/dev/null 2>&1
        wineserver -w
        if [ "$want" = Y ]; then touch "$stamp"; else rm -f "$stamp"; fi
    ) 9>"$WINEPREFIX.lock"
}

# Starts a private Xvfb unless one of ours is already exported (QUORELLE_XVFB=1): 1280x1024 at
# 96 DPI, as many inches at another DPI (2560x2048 at 192), so the scaled windows fit on it.
# Sets DISPLAY; the caller kills QUORELLE_XVFB_PID when done.
quorelle_start_xvfb() {
    if [ "${QUORELLE_XVFB:-}" = 1 ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # a screen of 1280 x 1024 at 96 DPI, as large in inches at any other DPI, so that every
    # window of the panel fits it at every scale
    local width=$((1280 * QUORELLE_DPI / 96)) height=$((1024 * QUORELLE_DPI / 96))
    Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    QUORELLE_XVFB_PID=$!
    local num
    read -r num <"$fifo"
    rm -f "$fifo"
    export DISPLAY=:$num QUORELLE_XVFB=1
}

quorelle_stop_xvfb() {
    if [ -n "${QUORELLE_XVFB_PID:-}" ]; then
        kill "$QUORELLE_XVFB_PID" 2>/dev/null || true
        wait "$QUORELLE_XVFB_PID" 2>/dev/null || true
        unset QUORELLE_XVFB_PID QUORELLE_XVFB
    fi
}

# Ends the prefix's Wine server and waits until it has gone, so the next program never meets a
# dying server.
quorelle_end_wine() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
}

# A display, the prefix, and on exit the end of the server and of the display: the frame of a
# script that runs Windows programs.
quorelle_wine_session() {
    quorelle_start_xvfb
    trap 'quorelle_end_wine; quorelle_stop_xvfb' EXIT
    quorelle_prepare_prefix
}
