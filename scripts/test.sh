#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds, and runs every test
# program with ctest under Xvfb and Wine (code page 932), in a throwaway
# Wine prefix inside build/.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${PAIRMATE_IN_XVFB:-}" ]; then
    bash scripts/setup.sh
    bash scripts/build.sh
    export PAIRMATE_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

build_dir="${PAIRMATE_BUILD_DIR:-build}"
. scripts/wine-env.sh "$build_dir"
wine_prepare
status=0
ctest --test-dir "$build_dir" --output-on-failure "$@" || status=$?
wineserver -k >/dev/null 2>&1 || true
exit $status
