#!/usr/bin/env bash
# Builds Pairmate and starts it under Wine: on your display when there is one
# (DISPLAY set), otherwise under Xvfb, saving a screenshot of the screen to
# build/pairmate-screenshot.png after a few seconds and ending it again
# (there inside Wine's virtual desktop, which stands in for a window manager).
# The Wine prefix is build/wineprefix (registry and all), kept between runs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
PAIRMATE_SKIP_WIN32=1 bash scripts/build.sh

. scripts/wine-env.sh build
exe="build/bin/pairmate.exe"

if [ -n "${DISPLAY:-}" ] && [ -z "${PAIRMATE_FORCE_XVFB:-}" ]; then
    wine_prepare
    exec "$WINE" "$exe"
fi

shot="$(pwd)/build/pairmate-screenshot.png"
PAIRMATE_SHOT="$shot" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    . scripts/wine-env.sh build
    wine_prepare desktop
    "$WINE" "'"$exe"'" &
    for i in $(seq 1 100); do
        xdotool search --name "^Pairmate$" >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 2
    import -window root "$PAIRMATE_SHOT"
    wineserver -k
'
echo "No display: Pairmate ran under Xvfb; screenshot saved to $shot"
