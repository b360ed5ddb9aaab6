#!/bin/sh
# Runs a test program with SMALL_DISK naming the folder of a file system of 64 KiB made for it
# alone (a tmpfs in a private mount namespace), so that a full disk can be tested without
# filling a real one. Where no such namespace can be made, the program runs without SMALL_DISK,
# with SMALL_DISK_UNAVAILABLE saying why, and its tests skip.
dir=$(mktemp -d) || exit 1
if unshare -rm true 2>/dev/null; then
    unshare -rm sh -c 'mount -t tmpfs -o size=64k pote_small_disk "$1" && SMALL_DISK="$1" "$2"' \
        sh "$dir" "$1"
    rc=$?
else
    SMALL_DISK_UNAVAILABLE="unshare -rm (a private user and mount namespace) is not allowed here" "$1"
    rc=$?
fi
rmdir "$dir"
exit $rc
