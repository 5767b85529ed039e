#!/bin/sh
# readonly_folder.sh mount|unmount DIR: DIR/rw, an ordinary folder, and DIR/ro, the
# same folder mounted again read-only, for the tests of programs started where they
# cannot write (as root a read-only mount stops writes, the permission bits do not).
# Without the right to mount, DIR/ro stays writable and those tests skip. Never fails.
case "$1" in
  mount)
    mkdir -p "$2/rw" "$2/ro"
    if ! mountpoint -q "$2/ro" && mount --bind "$2/rw" "$2/ro" 2>/dev/null; then
      mount -o remount,ro,bind "$2/ro" 2>/dev/null || umount "$2/ro" 2>/dev/null || true
    fi
    ;;
  unmount)
    if mountpoint -q "$2/ro"; then umount "$2/ro" || umount -l "$2/ro"; fi
    rm -rf "$2" 2>/dev/null || true
    ;;
esac
exit 0
