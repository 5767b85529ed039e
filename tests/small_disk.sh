#!/bin/sh
# small_disk.sh mount|unmount DIR: a filesystem of 64 KB of its own at DIR, for the
# tests of saving on a full disk. Mounting a tmpfs needs root; without it DIR stays
# an ordinary folder and those tests skip their full-disk cases. Never fails.
case "$1" in
  mount)
    mkdir -p "$2"
    mountpoint -q "$2" || mount -t tmpfs -o size=64k tmpfs "$2" 2>/dev/null || true
    ;;
  unmount)
    if mountpoint -q "$2"; then umount "$2" || umount -l "$2"; fi
    rm -rf "$2" 2>/dev/null || true
    ;;
esac
exit 0
