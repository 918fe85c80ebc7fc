# Sourced by the test and benchmark scripts, after scripts/wine-env.sh: a
# slow share for the programs of one Wine prefix, reached as
# \\slowhost\share: a FUSE file system (tests/support/slow_share.py) that
# sleeps in every lookup, over the folder BUILD_DIR/slowshare/data. A program
# writes its files there (as Z:\...\slowshare\data, at full speed) and sets
# the delay in seconds in the file .delay there.
# Usage: slow_share_mount BUILD_DIR; ...; slow_share_unmount
# On success PAIRMATE_SLOW_SHARE (the share's UNC name) and
# PAIRMATE_SLOW_SHARE_DATA (the folder behind it) are exported. Where the
# machine cannot mount it (no /dev/fuse, no fusepy) it says so in one line,
# exports neither, and the tests that need it are skipped.
_slow_share_pid=""
_slow_share_mnt=""

slow_share_mount() {
    local root
    root="$(cd "$1" && pwd)/slowshare"
    unset PAIRMATE_SLOW_SHARE PAIRMATE_SLOW_SHARE_DATA
    if [ ! -c /dev/fuse ]; then
        echo "slow share: this machine has no /dev/fuse: the slow-share tests are skipped"
        return 0
    fi
    if ! /usr/bin/python3 -c 'import fusepy' 2>/dev/null; then
        echo "slow share: python3-fusepy is missing: the slow-share tests are skipped"
        return 0
    fi
    mkdir -p "$root/data" "$root/mnt"
    # A mount left over from an interrupted run goes first.
    mountpoint -q "$root/mnt" && { fusermount3 -u "$root/mnt" 2>/dev/null || umount -l "$root/mnt" || true; }
    rm -f "$root/data/.delay"
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/../tests/support/slow_share.py" "$root/data" "$root/mnt" \
        >"$root/fuse.log" 2>&1 &
    _slow_share_pid=$!
    local i
    for i in $(seq 1 50); do
        mountpoint -q "$root/mnt" && break
        sleep 0.1
    done
    if ! mountpoint -q "$root/mnt"; then
        echo "slow share: the FUSE mount failed (see $root/fuse.log): the slow-share tests are skipped"
        kill "$_slow_share_pid" 2>/dev/null || true
        _slow_share_pid=""
        return 0
    fi
    _slow_share_mnt="$root/mnt"
    mkdir -p "$WINEPREFIX/dosdevices/unc/slowhost"
    ln -sfn "$root/mnt" "$WINEPREFIX/dosdevices/unc/slowhost/share"
    export PAIRMATE_SLOW_SHARE='\\slowhost\share'
    export PAIRMATE_SLOW_SHARE_DATA="Z:${root//\//\\}\\data"
}

slow_share_unmount() {
    if [ -n "$_slow_share_mnt" ]; then
        fusermount3 -u "$_slow_share_mnt" 2>/dev/null || umount -l "$_slow_share_mnt" 2>/dev/null || true
        rm -f "$WINEPREFIX/dosdevices/unc/slowhost/share"
    fi
    if [ -n "$_slow_share_pid" ]; then
        kill "$_slow_share_pid" 2>/dev/null || true
        wait "$_slow_share_pid" 2>/dev/null || true
    fi
    _slow_share_pid=""
    _slow_share_mnt=""
}
