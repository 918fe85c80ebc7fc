# Sourced by the test and run scripts: the Wine environment of one build folder.
# Usage: . scripts/wine-env.sh BUILD_DIR
_build_dir="$(cd "$1" && pwd)"
export WINEPREFIX="$_build_dir/wineprefix"
export WINEARCH=win64
# The 64-bit loader, called by its path: the plain "wine" wrapper prefers the
# 32-bit loader whenever it is installed, even where it cannot run.
export WINE=/usr/lib/wine/wine64
export WINELOADER=$WINE
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Code page 932: Wine takes its ANSI code page from the locale.
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
unset _build_dir

# Creates the prefix on first use (about 30 s) and keeps one wineserver alive
# for the rest of the session so that each program starts fast.
wine_prepare() {
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
        "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ \
            /d 'IPAPGothic' /f </dev/null >/dev/null 2>&1 &&
        "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            </dev/null >/dev/null 2>&1 &&
        touch "$WINEPREFIX/.pairmate-settings"
    fi
    # The first program of a session starts Wine's background services, which
    # inherit its output: start them here, away from the test runner's pipes,
    # or ctest would wait for them to close.
    "$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}
