#!/usr/bin/env bash
# Runs the contrast check at 96 DPI in a Wine prefix of its own (made once as
# the per-DPI ones are) whose system colours are the black high-contrast
# scheme; the screenshots it measured stay in build/contrast.
# Usage: contrast.sh PATH_TO_HK_CONTRAST_CHECK_EXE
set -u
check=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=$root/build/wineprefix-contrast
export HK_DPI=96
# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
hk_wine_prepare || exit 1
trap 'wineserver -k 2>/dev/null; hk_stop_display' EXIT

# The black scheme: white text on black, cyan selection, green disabled text.
for entry in Window=0,0,0 WindowText=255,255,255 ButtonFace=0,0,0 ButtonText=255,255,255 \
  Hilight=26,235,255 HilightText=0,0,0 GrayText=63,242,63 ButtonShadow=128,128,128 \
  ButtonHilight=255,255,255; do
  wine reg add 'HKCU\Control Panel\Colors' /v "${entry%%=*}" /t REG_SZ /d "$(tr , ' ' <<<"${entry#*=}")" \
    /f >/dev/null 2>&1
done
wineserver -w

shots=$root/build/contrast
rm -rf "$shots"
mkdir -p "$shots"
wine "$check" "$(winepath -w "$shots")"
status=$?
wineserver -w
exit $status
