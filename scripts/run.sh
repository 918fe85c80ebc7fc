#!/usr/bin/env bash
# Builds Pairmate and starts it under Wine: on your display when there is one
# (DISPLAY set), otherwise under Xvfb, where it saves three screenshots of the
# screen (the bar as it starts, slid out by a click on its handle, and with
# its context menu open) and ends it again (there inside Wine's virtual
# desktop, which stands in for a window manager). The Wine prefix is
# build/wineprefix (registry and all), kept between runs.
#
# PAIRMATE_LOCALE chooses the locale Wine runs it in, and with it the code
# page and the program's language: ja_JP.UTF-8 (the default; code page 932,
# Japanese) or, for example, C.UTF-8 (code page 1252, English).
# PAIRMATE_DPI runs it at a display scaling (120 = 125 %, 144 = 150 %, 192 =
# 200 %): Wine gives a program the DPI of the prefix's LogPixels setting as
# it starts; the setting is put back afterwards.
# PAIRMATE_LOOK=dark runs it in the dark app mode (Windows' "Choose your app
# mode: Dark", the prefix's AppsUseLightTheme value 0), =light in the light
# one (value 1); the value is put back afterwards. Under Xvfb a fourth
# screenshot then shows the Settings dialog (opened from the menu).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
PAIRMATE_SKIP_WIN32=1 bash scripts/build.sh

. scripts/wine-env.sh build
export LANG="${PAIRMATE_LOCALE:-ja_JP.UTF-8}" LC_ALL="${PAIRMATE_LOCALE:-ja_JP.UTF-8}"
exe="build/bin/pairmate.exe"

# Sets a DWORD of the prefix's current user for this run and puts the old
# value (or none) back at the end.
restore=()
trap 'for undo in "${restore[@]}"; do eval "$undo"; done' EXIT
set_for_run() { # key name value
    local saved
    wine_prepare >/dev/null
    saved=$("$WINE" reg query "$1" /v "$2" 2>/dev/null | awk -v name="$2" '$1 == name {print $3}' || true)
    "$WINE" reg add "$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null 2>&1
    if [ -n "$saved" ]; then
        restore+=("\"\$WINE\" reg add '$1' /v $2 /t REG_DWORD /d $((saved)) /f >/dev/null 2>&1")
    else
        restore+=("\"\$WINE\" reg delete '$1' /v $2 /f >/dev/null 2>&1")
    fi
}
if [ -n "${PAIRMATE_DPI:-}" ]; then
    set_for_run 'HKCU\Control Panel\Desktop' LogPixels "$PAIRMATE_DPI"
fi
case "${PAIRMATE_LOOK:-}" in
    '') ;;
    dark|light)
        set_for_run 'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize' AppsUseLightTheme \
            "$([ "$PAIRMATE_LOOK" = dark ] && echo 0 || echo 1)" ;;
    *) echo "run.sh: PAIRMATE_LOOK is dark or light, not '$PAIRMATE_LOOK'" >&2; exit 2 ;;
esac

if [ -n "${DISPLAY:-}" ] && [ -z "${PAIRMATE_FORCE_XVFB:-}" ]; then
    wine_prepare
    "$WINE" "$exe"
    exit
fi

shot="$(pwd)/build/pairmate-screenshot"
PAIRMATE_SHOT="$shot" PAIRMATE_LOOK="${PAIRMATE_LOOK:-}" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    . scripts/wine-env.sh build
    export LANG="'"$LANG"'" LC_ALL="'"$LANG"'"
    wine_prepare desktop
    # Without a WinDiff file name the program would ask for one before
    # anything else; here the tests'"'"' stand-in takes its place.
    key="HKCU\\Software\\Velmora\\Pairmate"
    if ! "$WINE" reg query "$key" /v FileName >/dev/null 2>&1; then
        "$WINE" reg add "$key" /v FileName /t REG_SZ /d "Z:$(pwd | tr / \\\\)\\build\\bin\\fake_windiff.exe" /f >/dev/null 2>&1
        echo "run.sh: no WinDiff file name was stored; the stand-in build/bin/fake_windiff.exe is now"
    fi
    "$WINE" "'"$exe"'" &
    for i in $(seq 1 100); do
        xdotool search --name "^Pairmate$" >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 2
    import -window root "$PAIRMATE_SHOT.png"
    # The handle: the 15 pixels at the right edge of the strip at the top.
    xdotool mousemove 1016 14 click 1
    sleep 1
    import -window root "$PAIRMATE_SHOT-slid-out.png"
    # A right click on the bar beside its first icon box (at 100 %, 155
    # pixels from the left), where the menu leaves the toolbar in view.
    dpi=${PAIRMATE_DPI:-96}
    xdotool mousemove $((155 * dpi / 96)) $((14 * dpi / 96)) click 3
    sleep 1
    import -window root "$PAIRMATE_SHOT-menu.png"
    if [ -n "${PAIRMATE_LOOK:-}" ]; then
        # Settings, through its mnemonic in the open menu.
        xdotool key s
        sleep 2
        import -window root "$PAIRMATE_SHOT-settings.png"
    fi
    wineserver -k
'
echo "No display: Pairmate ran under Xvfb; screenshots saved to $shot.png (as it starts),"
echo "$shot-slid-out.png (after a click on its handle) and $shot-menu.png (its menu)"
if [ -n "${PAIRMATE_LOOK:-}" ]; then echo "and $shot-settings.png (Settings)"; fi
