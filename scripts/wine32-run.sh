#!/usr/bin/env bash
# Runs a command where 32-bit Wine can start.
# Usage: bash scripts/wine32-run.sh COMMAND [ARGS...]
#
# Where the kernel runs 32-bit Linux programs itself, the command runs as it
# is. Elsewhere (IA-32 emulation switched off) the 32-bit loader runs through
# user-mode QEMU: the command then runs in a private user and mount namespace
# with its own binfmt_misc, in which the QEMU interpreter is registered for
# 32-bit x86 programs. Nothing outside that namespace changes; everything the
# command starts (Wine's server and children included) inherits it.
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
    shift
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    conf=/usr/share/qemu/binfmt.d/qemu-i386.conf
    [ -f "$conf" ] || { echo "wine32-run: $conf is missing (package qemu-user)" >&2; exit 1; }
    cat "$conf" >/proc/sys/fs/binfmt_misc/register
    exec "$@"
fi

# The 32-bit loader runs natively when it can report its version.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    exec "$@"
fi
exec unshare --user --map-root-user --mount --fork bash "$0" --inside "$@"
