#!/usr/bin/env bash
# Runs one Windows program under Wine. CTest uses it as the cross-compiling emulator.
# Inside scripts/test.sh the test bed is already up; run by hand, it brings one up for the
# build folder that holds the program and leaves it running for the next call.
set -u
here=$(dirname "$(readlink -f "$0")")
if [[ -z "${WINEBED_UP:-}" ]]; then
  # shellcheck source=winebed.sh
  source "$here/winebed.sh"
  dir=$(dirname "$(readlink -f "$1")")
  while [[ "$dir" != / && ! -f "$dir/CMakeCache.txt" ]]; do dir=$(dirname "$dir"); done
  [[ -f "$dir/CMakeCache.txt" ]] || dir=$(pwd)
  winebed_up "$dir" || exit 1
fi
exec wine "$@"
