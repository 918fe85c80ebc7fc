#!/usr/bin/env bash
# The monitors test: the end-to-end program on two 1024x768 monitors side by
# side, the second to the right of the primary and then to its left.
#   two_monitors.sh TEST_E2E_EXE
# Wine's virtual desktop and Xvfb both show one monitor, so each layout gets
# an Xorg server of its own (dummy video driver, two screens joined by
# Xinerama; run as root) and the tests a Wine prefix of their own next to the
# build's, whose X11 driver leaves XVidMode and XRandR alone (with them Wine
# sees one monitor). Runs in the environment of scripts/wine-env.sh.
set -euo pipefail
exe=$1

export WINEPREFIX="${WINEPREFIX:?}-monitors"
work=$(mktemp -d)
xorg_pid=""
# Ends the Wine programs and the Xorg server started last (if any).
stop_xorg() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w 2>/dev/null || true
    [ -z "$xorg_pid" ] || kill "$xorg_pid" 2>/dev/null || true
    [ -z "$xorg_pid" ] || wait "$xorg_pid" 2>/dev/null || true
    xorg_pid=""
}
trap 'stop_xorg; rm -rf "$work"' EXIT

# Two 1024x768 screens of the dummy driver, the second `$1` (RightOf, LeftOf)
# the first, joined by Xinerama. A Device section with a Screen line would
# lose the second screen.
xorg_conf() {
    printf 'Section "ServerFlags"\n Option "AutoAddDevices" "false"\n Option "AutoEnableDevices" "false"\n'
    printf ' Option "Xinerama" "on"\nEndSection\n'
    for i in 0 1; do
        printf 'Section "Monitor"\n Identifier "m%s"\n HorizSync 28-80\n VertRefresh 48-75\n' $i
        printf ' Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync\nEndSection\n'
        printf 'Section "Device"\n Identifier "d%s"\n Driver "dummy"\n VideoRam 16384\nEndSection\n' $i
        printf 'Section "Screen"\n Identifier "s%s"\n Device "d%s"\n Monitor "m%s"\n DefaultDepth 24\n' $i $i $i
        printf ' SubSection "Display"\n  Depth 24\n  Modes "1024x768"\n  Virtual 1024 768\n EndSubSection\nEndSection\n'
    done
    printf 'Section "ServerLayout"\n Identifier "two"\n Screen 0 "s0" 0 0\n Screen 1 "s1" %s "s0"\nEndSection\n' "$1"
}

# Starts Xorg with the second screen `$1` ("RightOf" or "LeftOf") the first.
# The test runs' Xvfb servers take displays from :20 and :40 up; these start
# at :70 and move on past any display that is taken, or that another run
# takes at the same moment (Xorg then fails to start on it).
start_xorg() {
    xorg_conf "$1" >"$work/xorg.conf"
    for n in $(seq 70 99); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xorg ":$n" -config "$work/xorg.conf" -noreset -nolisten tcp -logfile "$work/xorg.$n.log" \
            </dev/null >/dev/null 2>&1 &
        xorg_pid=$!
        for _ in $(seq 1 100); do
            kill -0 "$xorg_pid" 2>/dev/null || break
            if xset -display ":$n" q >/dev/null 2>&1; then
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.1
        done
        stop_xorg
    done
    echo "two_monitors.sh: no Xorg server started (last log follows)" >&2
    cat "$work"/xorg.*.log >&2 2>/dev/null || true
    return 1
}

status=0
for place in RightOf LeftOf; do
    start_xorg "$place"
    if [ ! -f "$WINEPREFIX/.pairmate-monitors" ]; then
        "$WINE" wineboot.exe --init >/dev/null 2>&1 || true
        wineserver -w
        for value in UseXVidMode UseXRandR; do
            "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v "$value" /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
        done
        "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
        "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f \
            </dev/null >/dev/null 2>&1
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w
        touch "$WINEPREFIX/.pairmate-monitors"
    fi
    wineserver -p >/dev/null 2>&1 || true
    "$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
    echo "two_monitors.sh: the second monitor $place the primary (display $DISPLAY)"
    PAIRMATE_SECOND_MONITOR=$place "$WINE" "$exe" --gtest_color=no --gtest_filter='MonitorsTest.*' || status=1
    stop_xorg
done
exit $status
