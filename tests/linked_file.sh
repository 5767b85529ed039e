#!/bin/sh
# linked_file.sh mount|unmount DIR: DIR/ults.rel, a symbolic link to
# DIR/shared/ults.rel (not there yet), for the tests of saving through a link. A
# Windows program under Wine can neither make such a link nor see that it is one.
# Never fails.
case "$1" in
  mount)
    rm -rf "$2"
    mkdir -p "$2/shared"
    ln -s shared/ults.rel "$2/ults.rel" 2>/dev/null || true
    ;;
  unmount)
    rm -rf "$2" 2>/dev/null || true
    ;;
esac
exit 0
