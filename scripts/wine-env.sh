# Sourced by the test and run scripts: the Wine environment of one build folder.
# Usage: . scripts/wine-env.sh BUILD_DIR
# A folder built with the i686 toolchain gets a 32-bit prefix and the 32-bit
# loader; run its programs under scripts/wine32-run.sh. Any other folder gets
# the 64-bit ones.
_build_dir="$(cd "$1" && pwd)"
export WINEPREFIX="$_build_dir/wineprefix"
if grep -qs '^CMAKE_TOOLCHAIN_FILE.*mingw-i686' "$_build_dir/CMakeCache.txt"; then
    export WINEARCH=win32
    export WINE=/usr/lib/wine/wine
    export PAIRMATE_ARCH=i686
else
    export WINEARCH=win64
    # The 64-bit loader, called by its path: the plain "wine" wrapper prefers
    # the 32-bit loader whenever it is installed, even where it cannot run.
    export WINE=/usr/lib/wine/wine64
    export PAIRMATE_ARCH=x86-64
fi
export WINELOADER=$WINE
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Code page 932: Wine takes its ANSI code page from the locale.
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
unset _build_dir

# Creates the prefix on first use (about 30 s) and keeps one wineserver alive
# for the rest of the session so that each program starts fast.
# Usage: wine_prepare [desktop]
# With "desktop", programs run inside Wine's own virtual desktop of 1024x768
# (made for screens without a window manager: Xvfb). Wine then manages the
# windows itself, so hiding a window does not wait up to 2 s for an X window
# manager that is not there, and windows get their title bars. Without it,
# each top-level window is a window of the X display (a real desktop).
wine_prepare() {
    local mode=${1:-}
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine: creating prefix $WINEPREFIX"
        "$WINE" wineboot.exe --init >/dev/null 2>&1 || true
        wineserver -w
    fi
    wineserver -p >/dev/null 2>&1 || true
    # One-time settings of the prefix:
    # - the program's face "ＭＳ Ｐゴシック" is proportional: have Wine draw it
    #   with the proportional IPA font (fonts-ipafont-gothic), not the
    #   fixed-pitch one it picks by itself;
    # - no crash dialog: a program that crashes in a test run must end (and
    #   fail its test), not wait on the invisible screen for a click.
    if [ ! -f "$WINEPREFIX/.pairmate-settings" ]; then
        _wine_reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ /d 'IPAPGothic' &&
        _wine_reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 &&
        touch "$WINEPREFIX/.pairmate-settings"
    fi
    # The desktop is made as a session starts: after a change, start anew.
    local now=""
    [ -f "$WINEPREFIX/.pairmate-desktop" ] && now=desktop
    if [ "$mode" != "$now" ]; then
        if [ "$mode" = desktop ]; then
            _wine_reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 &&
            _wine_reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default &&
                touch "$WINEPREFIX/.pairmate-desktop"
        else
            _wine_reg delete 'HKCU\Software\Wine\Explorer' /v Desktop
            rm -f "$WINEPREFIX/.pairmate-desktop"
        fi
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w
        wineserver -p >/dev/null 2>&1 || true
    fi
    # The first program of a session starts Wine's background services, which
    # inherit its output: start them here, away from the test runner's pipes,
    # or ctest would wait for them to close.
    "$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

_wine_reg() {
    "$WINE" reg "$@" /f </dev/null >/dev/null 2>&1
}
