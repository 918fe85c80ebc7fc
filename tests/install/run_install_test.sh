#!/usr/bin/env bash
# Runs install_test.sh on the release package (by default dist/ of the
# version in VERSION) under 32-bit Wine: registers user-mode QEMU for 32-bit
# x86 programs inside a private user and mount namespace (nothing changes on
# the machine), under Xvfb when no display is set.
# Usage: run_install_test.sh [SETUP_EXE ZIP]
set -euo pipefail
cd "$(dirname "$0")/../.."
read -r version < VERSION
setup="$(realpath "${1:-dist/Pairmate-$version-setup.exe}")"
zip="$(realpath "${2:-dist/Pairmate-$version.zip}")"
here="$(pwd)/tests/install"

inner='
mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
cat /usr/share/qemu/binfmt.d/qemu-i386.conf > /proc/sys/fs/binfmt_misc/register
WINE=/usr/bin/wine exec bash "$0" "$@"
'
ns=(unshare --user --map-root-user --mount --fork bash -c "$inner" "$here/install_test.sh" "$setup" "$zip")
if [ -n "${DISPLAY:-}" ]; then
    exec "${ns[@]}"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "${ns[@]}"
