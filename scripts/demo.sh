#!/usr/bin/env bash
# The demo: the stand-in host editor under Wine with Corvane planted in its toolbar.
# With a display it stays until the editor is closed; without one it runs under Xvfb, saves a
# screenshot to build/mingw64/demo.png and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 --target Corvane hostsim

build=build/mingw64
demo=$build/demo
mkdir -p "$demo"
cp "$build/startup/Corvane.exe" "$demo/Corvane.exe"
cp resources/Tag.ini "$demo/Tag.ini" 2>/dev/null || true
cp tools/hostsim/demo/sample.htm "$demo/sample.htm" 2>/dev/null || true

# shellcheck source=winebed.sh
source scripts/winebed.sh
interactive=0
if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1 && [[ -z "${CI:-}" ]]; then interactive=1; fi
if ((interactive)); then
  winebed_env "$(cd "$build" && pwd)"
  winebed_init_prefix
  wine "$build/tools/hostsim/hostsim.exe" /corvane="$(winepath -w "$demo/Corvane.exe")" /startcorvane \
       "$(winepath -w "$demo/sample.htm")"
else
  WINEBED_OWN_DISPLAY=1 winebed_up "$build"
  trap winebed_down EXIT
  wine "$build/tools/hostsim/hostsim.exe" /corvane="$(winepath -w "$demo/Corvane.exe")" /startcorvane \
       "$(winepath -w "$demo/sample.htm")" &
  sleep 8
  import -window root "$build/demo.png"
  echo "demo: screenshot saved to $build/demo.png"
  wineserver -k || true
fi
