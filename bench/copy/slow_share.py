#!/usr/bin/python3
# A stand-in for a network share: a passthrough FUSE file system over a folder that waits a
# fixed time on every operation, as a share on a LAN waits for its round trip. Operations on
# different files overlap, as requests to a real share do.
#   slow_share.py FOLDER MOUNTPOINT [MILLISECONDS]   (runs in the foreground; 1 ms by default)
# Unmount with `fusermount -u MOUNTPOINT`.
import errno
import os
import sys
import time

from fusepy import FUSE, FuseOSError, Operations


class SlowShare(Operations):
    use_ns = True  # times as whole nanoseconds, as the folder below keeps them

    def __init__(self, root, wait):
        self.root = root
        self.wait = wait

    def _path(self, path):
        time.sleep(self.wait)
        return os.path.join(self.root, path.lstrip("/"))

    # Every call of the kernel goes through here, so every one waits once.
    def __call__(self, op, path, *args):
        try:
            return super().__call__(op, path, *args)
        except OSError as error:
            raise FuseOSError(error.errno or errno.EIO)

    def access(self, path, mode):
        if not os.access(self._path(path), mode):
            raise FuseOSError(errno.EACCES)

    def chmod(self, path, mode):
        os.chmod(self._path(path), mode)

    def chown(self, path, uid, gid):
        os.chown(self._path(path), uid, gid, follow_symlinks=False)

    def getattr(self, path, fh=None):
        st = os.lstat(self._path(path))
        keys = ("st_atime", "st_ctime", "st_gid", "st_mode", "st_mtime", "st_nlink", "st_size",
                "st_uid", "st_blocks", "st_ino")
        attributes = {key: getattr(st, key) for key in keys}
        for key in ("st_atime", "st_ctime", "st_mtime"):
            attributes[key] = getattr(st, key + "_ns")
        return attributes

    def readdir(self, path, fh):
        return [".", ".."] + os.listdir(self._path(path))

    def readlink(self, path):
        return os.readlink(self._path(path))

    def mknod(self, path, mode, dev):
        os.mknod(self._path(path), mode, dev)

    def rmdir(self, path):
        os.rmdir(self._path(path))

    def mkdir(self, path, mode):
        os.mkdir(self._path(path), mode)

    def statfs(self, path):
        st = os.statvfs(self._path(path))
        keys = ("f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree", "f_files",
                "f_flag", "f_frsize", "f_namemax")
        return {key: getattr(st, key) for key in keys}

    def unlink(self, path):
        os.unlink(self._path(path))

    def symlink(self, name, target):
        os.symlink(target, self._path(name))

    def rename(self, old, new):
        os.rename(self._path(old), self._path(new))

    def link(self, target, name):
        os.link(self._path(name), self._path(target))

    def utimens(self, path, times=None):
        if times is None:
            os.utime(self._path(path), follow_symlinks=False)
            return
        os.utime(self._path(path), ns=tuple(times), follow_symlinks=False)

    def open(self, path, flags):
        return os.open(self._path(path), flags)

    def create(self, path, mode, fi=None):
        return os.open(self._path(path), os.O_WRONLY | os.O_CREAT | os.O_EXCL, mode)

    def read(self, path, length, offset, fh):
        time.sleep(self.wait)
        return os.pread(fh, length, offset)

    def write(self, path, buf, offset, fh):
        time.sleep(self.wait)
        return os.pwrite(fh, buf, offset)

    def truncate(self, path, length, fh=None):
        with open(self._path(path), "r+") as f:
            f.truncate(length)

    def flush(self, path, fh):
        time.sleep(self.wait)

    def release(self, path, fh):
        time.sleep(self.wait)
        os.close(fh)

    def fsync(self, path, fdatasync, fh):
        time.sleep(self.wait)
        os.fsync(fh)


def main():
    if len(sys.argv) not in (3, 4):
        print("usage: slow_share.py FOLDER MOUNTPOINT [MILLISECONDS]", file=sys.stderr)
        sys.exit(2)
    wait = (float(sys.argv[3]) if len(sys.argv) == 4 else 1.0) / 1000
    FUSE(SlowShare(os.path.realpath(sys.argv[1]), wait), sys.argv[2], foreground=True,
         nothreads=False, use_ino=True)


if __name__ == "__main__":
    main()
