# Sourced, not run. The Wine test bed: one Xvfb display, one persistent wineserver and a private
# WINEPREFIX under the build folder, with the Japanese locale so that the ANSI code page is 932.
#   winebed_up BUILD_DIR    exports DISPLAY, WINEPREFIX and friends, starting what is not running
#   winebed_down            stops the wineserver and the display that winebed_up started

winebed_env() {
  export WINEPREFIX="$1/wineprefix"
  export WINEDEBUG=-all
  export WINEARCH=win64
  export LC_ALL=ja_JP.UTF-8
  export LANG=ja_JP.UTF-8
}

winebed_start_display() {
  local n
  for n in $(seq 91 160); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    WINEBED_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [[ -e /tmp/.X11-unix/X$n ]] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$WINEBED_XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
  done
  echo "winebed: could not start Xvfb" >&2
  return 1
}

winebed_init_prefix() {
  [[ -f "$WINEPREFIX/system.reg" ]] && { winebed_add_marlett; return 0; }
  mkdir -p "$WINEPREFIX"
  # No Mono or Gecko download prompts: this machine has no network.
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  local reg
  for reg in "$(dirname "${BASH_SOURCE[0]}")"/wineprefix*.reg; do
    [[ -f "$reg" ]] && wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
  done
  wineserver -w
  winebed_add_marlett
}

# Wine draws the caption buttons of window frames as characters of its Marlett font; without it
# they show as the letters "0 1 r". Debian ships the font in fonts-wine, in a folder this Wine
# does not search, so the prefix gets it in its own Fonts folder, as Windows keeps it. Only this
# font: the others would change the text and its metrics that the tests and pictures see.
winebed_add_marlett() {
  local font=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [[ -f "$font" && -d "$fonts" && ! -f "$fonts/marlett.ttf" ]] || return 0
  cp "$font" "$fonts/marlett.ttf"
}

winebed_up() {
  local build_dir
  build_dir=$(cd "$1" && pwd)
  winebed_env "$build_dir"
  # A bed brought up by hand (scripts/wine-run.sh) is found again through this file.
  local display_file="$build_dir/winebed.display"
  if [[ -z "${WINEBED_OWN_DISPLAY:-}" && -f "$display_file" ]]; then
    export DISPLAY
    DISPLAY=$(cat "$display_file")
  fi
  if [[ -z "${DISPLAY:-}" ]] || ! xdpyinfo >/dev/null 2>&1; then
    winebed_start_display || return 1
    echo "$DISPLAY" >"$display_file"
    WINEBED_DISPLAY_FILE=$display_file
  fi
  winebed_init_prefix
  # Persistent, so each test's programs find the same server; one already up (a bed brought up by
  # hand for the same build folder) is used as it is.
  wineserver -p 2>/dev/null || true
  # The first program of a fresh server starts the prefix's services, which can take longer than
  # a test's discovery allows: start one before any test does.
  wine cmd /c echo warm </dev/null >/dev/null 2>&1
  export WINEBED_UP=1
}

winebed_down() {
  [[ -n "${WINEPREFIX:-}" ]] && wineserver -k 2>/dev/null
  if [[ -n "${WINEBED_XVFB_PID:-}" ]]; then
    kill "$WINEBED_XVFB_PID" 2>/dev/null
    wait "$WINEBED_XVFB_PID" 2>/dev/null
    unset WINEBED_XVFB_PID
  fi
  # The display is gone: a later bed must not find its number again, which another bed may have
  # taken since.
  if [[ -n "${WINEBED_DISPLAY_FILE:-}" ]]; then
    rm -f "$WINEBED_DISPLAY_FILE"
    unset WINEBED_DISPLAY_FILE
  fi
  return 0
}
