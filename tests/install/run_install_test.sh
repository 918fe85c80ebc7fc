#!/usr/bin/env bash
# Runs install_test.sh on the release package (by default dist/ of the
# version in VERSION) under 32-bit Wine, under Xvfb when no display is set.
# Usage: run_install_test.sh [SETUP_EXE ZIP]
set -euo pipefail
cd "$(dirname "$0")/../.."
read -r version < VERSION
run=(bash scripts/wine32-run.sh bash tests/install/install_test.sh
     "${1:-dist/Pairmate-$version-setup.exe}" "${2:-dist/Pairmate-$version.zip}")
[ -n "${DISPLAY:-}" ] && exec "${run[@]}"
exec xvfb-run -a -s "-screen 0 1024x768x24" "${run[@]}"
