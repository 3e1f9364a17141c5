#!/bin/bash
# A settings write on a full disk, through the real Win32 storage: a small
# tmpfs, seen by Wine through its Z: drive, is filled to the last byte, and the
# write must fail and leave the file as it was. Mounting needs root; without
# it the test is skipped.
set -u
tests=$1
source "$(cd "$(dirname "$0")" && pwd)/../../scripts/wine-env.sh"
hk_wine_prepare || exit 1
trap 'hk_stop_display' EXIT

disk=$(mktemp -d)
if ! mount -t tmpfs -o size=128k tmpfs "$disk" 2>/dev/null; then
  rmdir "$disk"
  echo "skipped: no small disk can be mounted here"
  exit 77
fi
trap 'wineserver -w; umount "$disk"; rmdir "$disk"; hk_stop_display' EXIT

printf '[ZOVA]\r\nAUTOCLIP=1\r\n' >"$disk/hakarimaru.KZN"
dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null
if [ "$(df --output=avail "$disk" | tail -n 1 | tr -d ' ')" != 0 ]; then
  echo "FAILED: the small disk did not fill up"
  exit 1
fi

output=$(HK_FULL_DISK="Z:${disk//\//\\}\\hakarimaru.KZN" wine "$tests" \
  --gtest_filter='SettingsFileOnWindows.AFullDisk' 2>&1)
echo "$output"
if ! grep -q '^\[       OK \] SettingsFileOnWindows.AFullDisk' <<<"$output"; then
  echo "FAILED: the write on the full disk was not checked"
  exit 1
fi
