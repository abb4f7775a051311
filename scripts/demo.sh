#!/usr/bin/env bash
# The demo: the stand-in host editor under Wine with Corvane planted in its toolbar.
# With a display it stays until the editor is closed; without one it runs under Xvfb, saves a
# screenshot to build/mingw64/demo.png and the user's guide's pictures beside it (tagmenu.png,
# favorites.png, browser.png: see tools/demo/DemoPictures.cpp), and ends. The demo runs in a Wine
# prefix of its own (build/mingw64/demo/wineprefix), whose Favorites folder it fills with samples.
#
# Wine draws no window that sits inside another process's window: the toolbar that Corvane plants
# in the host is there and works, but shows blank on a Wine display. For the screenshot,
# toolbarpicture lays the same toolbar (the program's own toolbar class, pictures and font) over
# the planted one, with the mouse resting on the close button.
#
# CORVANE_DEMO_BUILD=DIR uses an already configured build folder instead of the mingw64 preset.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${CORVANE_DEMO_BUILD:-build/mingw64}
targets=(Corvane hostsim toolbarpicture demopictures)
if [[ -z "${CORVANE_DEMO_BUILD:-}" ]]; then
  scripts/deps.sh
  cmake --preset mingw64 >/dev/null
  cmake --build --preset mingw64 --target "${targets[@]}"
else
  cmake --build "$build" -j2 --target "${targets[@]}"
fi

demo=$build/demo
mkdir -p "$demo"
cp "$build/startup/Corvane.exe" "$demo/Corvane.exe"
cp resources/Tag.ini "$demo/Tag.ini"

# shellcheck source=winebed.sh
source scripts/winebed.sh
# The document sits on the prefix's C: drive, as a user's would, so that the editor's caption in
# the pictures does not show where this repository happens to be.
sample='C:\HTML\sample.htm'
place_sample() {
  mkdir -p "$WINEPREFIX/drive_c/HTML"
  cp tools/hostsim/demo/sample.htm "$WINEPREFIX/drive_c/HTML/sample.htm"
}
interactive=0
if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1 && [[ -z "${CI:-}" ]]; then interactive=1; fi
if ((interactive)); then
  winebed_env "$(cd "$demo" && pwd)"
  winebed_init_prefix
  place_sample
  echo "demo: under Wine the planted toolbar works but is not drawn (see the top of this script)"
  wine "$build/tools/hostsim/hostsim.exe" /corvane="$(winepath -w "$demo/Corvane.exe")" /startcorvane \
       "$sample"
else
  WINEBED_OWN_DISPLAY=1 winebed_up "$demo"
  place_sample
  # Xvfb has no window manager: Wine draws the windows' frames and captions itself, as Windows does.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # Inside the trap a failing command would end it early: the display must still go.
  trap 'winebed_down || true' EXIT
  ready=$demo/picture.ready
  rm -f "$ready"
  wine "$build/tools/hostsim/hostsim.exe" /corvane="$(winepath -w "$demo/Corvane.exe")" /startcorvane \
       "$sample" &
  wine "$build/tools/demo/toolbarpicture.exe" 120 "$(winepath -w "$ready")" &
  for _ in $(seq 1 600); do [[ -e "$ready" ]] && break; sleep 0.1; done
  [[ -e "$ready" ]] || { echo "demo: Corvane's toolbar did not appear" >&2; exit 1; }
  import -window root "$build/demo.png"
  # Only the editor's window: the desktop around it is black.
  convert "$build/demo.png" -trim +repage "$build/demo.png"
  echo "demo: screenshot saved to $build/demo.png"

  # The guide's pictures: demopictures sets each scene and names the screen area to keep.
  scenes=$demo/scenes
  mkdir -p "$scenes"
  rm -f "$scenes"/*
  wine "$build/tools/demo/demopictures.exe" "$(winepath -w "$scenes")\\" &
  pictures=$!
  for scene in tagmenu favorites browser; do
    for _ in $(seq 1 600); do [[ -e "$scenes/$scene.ready" ]] && break; sleep 0.1; done
    if [[ ! -e "$scenes/$scene.ready" ]]; then echo "demo: no $scene picture" >&2; break; fi
    import -window root -crop "$(cat "$scenes/$scene.ready")" +repage "$build/$scene.png"
    touch "$scenes/$scene.taken"
    echo "demo: picture saved to $build/$scene.png"
  done
  wait "$pictures" || echo "demo: not every picture of the guide was made" >&2
fi
