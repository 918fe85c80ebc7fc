#!/usr/bin/python3
"""A slow share for the tests: a read-only FUSE view of a folder in which
every lookup, listing, open, access test and statfs first sleeps.

    /usr/bin/python3 slow_share.py BACKING MOUNTPOINT

The delay in seconds is read at each call from BACKING/.delay (absent or
empty: none), so a test sets up its files at full speed and then makes the
share slow. Files are written into BACKING directly; the view shows them at
once (entries are never cached). Runs in the foreground until unmounted.
"""
import errno
import os
import sys
import time

try:
    from fusepy import FUSE, FuseOSError, Operations  # Debian's python3-fusepy
except ImportError:
    from fuse import FUSE, FuseOSError, Operations

DELAY_FILE = ".delay"


class SlowShare(Operations):
    def __init__(self, root):
        self.root = root

    def _wait(self):
        try:
            with open(os.path.join(self.root, DELAY_FILE)) as f:
                delay = float(f.read().strip() or 0)
        except (OSError, ValueError):
            delay = 0
        if delay > 0:
            time.sleep(delay)

    def _full(self, path):
        return os.path.join(self.root, path.lstrip("/"))

    def getattr(self, path, fh=None):
        self._wait()
        if path.lstrip("/") == DELAY_FILE:
            raise FuseOSError(errno.ENOENT)
        try:
            st = os.lstat(self._full(path))
        except OSError as e:
            raise FuseOSError(e.errno)
        keys = ("st_mode", "st_nlink", "st_uid", "st_gid", "st_size", "st_atime", "st_mtime", "st_ctime")
        return {k: getattr(st, k) for k in keys}

    def readdir(self, path, fh):
        self._wait()
        names = [n for n in os.listdir(self._full(path)) if n != DELAY_FILE]
        return [".", ".."] + names

    def access(self, path, mode):
        self._wait()
        if not os.access(self._full(path), mode):
            raise FuseOSError(errno.EACCES)

    def open(self, path, flags):
        self._wait()
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise FuseOSError(errno.EROFS)
        return os.open(self._full(path), flags)

    def read(self, path, size, offset, fh):
        os.lseek(fh, offset, os.SEEK_SET)
        return os.read(fh, size)

    def release(self, path, fh):
        os.close(fh)

    def statfs(self, path):
        self._wait()
        st = os.statvfs(self._full(path))
        keys = ("f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree", "f_files", "f_flag",
                "f_frsize", "f_namemax")
        return {k: getattr(st, k) for k in keys}


if __name__ == "__main__":
    backing, mountpoint = sys.argv[1], sys.argv[2]
    FUSE(SlowShare(backing), mountpoint, foreground=True, nothreads=False, ro=True,
         entry_timeout=0, attr_timeout=1, negative_timeout=0)
