# Sourced by the scripts that run Wine. Sets the environment and makes the
# prefix once.
#
# HK_DPI chooses the display scale that Wine gives programs, in dots per inch
# (96 = 100 %, 144 = 150 %, 192 = 200 %; default 96). Wine reads it once per
# prefix, so each DPI other than 96 gets a prefix of its own beside the usual
# one (build/wineprefix-dpi144 ...), and runs at different scales never
# disturb each other.
export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32
: "${HK_DPI:=96}"
case "$HK_DPI" in
  [1-9][0-9] | [1-9][0-9][0-9]) ;;
  *)
    echo "HK_DPI must be a whole number of dots per inch, not \"$HK_DPI\"" >&2
    return 1
    ;;
esac
export HK_DPI
# A prefix of our own is chosen again by HK_DPI, even when an earlier source
# of this file exported one for another DPI (a test run at 144 DPI started
# from a shell set up for 96); a prefix of the user's own stays as it is.
hk_prefix=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix
case "${WINEPREFIX:-}" in
  "" | "$hk_prefix" | "$hk_prefix"-dpi[1-9]*)
    WINEPREFIX=$hk_prefix
    [ "$HK_DPI" != 96 ] && WINEPREFIX=$WINEPREFIX-dpi$HK_DPI
    ;;
esac
unset hk_prefix
export WINEPREFIX

# Joins the display that the caller named in DISPLAY; otherwise starts a
# virtual display of our own on a number that no other server holds (Xvfb
# picks it and reports it through -displayfd), so the runs never drive or
# wait for another program's windows. HK_XVFB_PID names the server we started;
# hk_stop_display stops it.
hk_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local number_file n i
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  HK_XVFB_PID=$!
  n=
  for i in $(seq 1 100); do
    n=$(head -n 1 "$number_file" 2>/dev/null | tr -cd 0-9)
    [ -n "$n" ] && [ "$(wc -l <"$number_file")" -ge 1 ] && break
    n=
    kill -0 "$HK_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  if [ -n "$n" ]; then
    export DISPLAY=":$n"
    for i in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
  fi
  hk_stop_display
  echo "no X display could be started" >&2
  return 1
}

hk_stop_display() {
  if [ -n "${HK_XVFB_PID:-}" ]; then
    kill "$HK_XVFB_PID" 2>/dev/null || true
    wait "$HK_XVFB_PID" 2>/dev/null || true
  fi
  HK_XVFB_PID=
}

hk_wine_prepare() {
  hk_start_display || return 1
  if [ -f "$WINEPREFIX/.hk-ready" ] && [ "$(cat "$WINEPREFIX/.hk-dpi" 2>/dev/null)" = "$HK_DPI" ]; then
    return 0
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.hk-ready" ]; then
      hk_make_prefix
      touch "$WINEPREFIX/.hk-ready"
    fi
    if [ "$(cat "$WINEPREFIX/.hk-dpi" 2>/dev/null)" != "$HK_DPI" ]; then
      # The user's setting, and the older key that Wine also reads at start.
      wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$HK_DPI" /f >/dev/null 2>&1
      wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$HK_DPI" /f >/dev/null 2>&1
      wineserver -w
      echo "$HK_DPI" >"$WINEPREFIX/.hk-dpi"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# A new prefix with the settings every run needs. Called under the lock.
hk_make_prefix() {
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # No window manager runs on the virtual display; unmanaged windows spare
  # every hide of an active window a two-second wait for one.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  for face in 'ＭＳ ゴシック' 'MS Gothic' 'ＭＳ Ｐゴシック' 'MS PGothic'; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d 'IPAGothic' /f >/dev/null 2>&1
  done
  wineserver -w
}
