# Sourced by the scripts that run Wine. Sets the environment and makes the
# prefix once.
export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32
: "${WINEPREFIX:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix}"
export WINEPREFIX

hk_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in 99 98 97 96 95; do
    if [ ! -e "/tmp/.X${n}-lock" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      HK_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
      done
    else
      export DISPLAY=":$n"
      xdpyinfo >/dev/null 2>&1 && return 0
    fi
  done
  echo "no X display could be started" >&2
  return 1
}

hk_wine_prepare() {
  hk_start_display || return 1
  if [ -f "$WINEPREFIX/.hk-ready" ]; then return 0; fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.hk-ready" ] && exit 0
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # No window manager runs on the virtual display; unmanaged windows spare
    # every hide of an active window a two-second wait for one.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    for face in 'ＭＳ ゴシック' 'MS Gothic' 'ＭＳ Ｐゴシック' 'MS PGothic'; do
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d 'IPAGothic' /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.hk-ready"
  ) 9>"$WINEPREFIX.lock"
}
