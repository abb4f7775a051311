#!/usr/bin/env bash
# Builds everything and runs every test: the pure logic natively under the sanitizers (and its
# fuzz targets briefly), the 32-bit Windows build as a compile check, both release archives, the
# program and the Windows tests once more with clang (compiled and linked, not run), then the
# Windows tests under Wine in one Xvfb display with one persistent wineserver. One CTest run
# reports them all, the check of both archives included.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset mingw32 >/dev/null
cmake --build --preset mingw32 --target package
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64
cmake --build --preset mingw64 --target package
cmake --preset clang-mingw64 >/dev/null
cmake --build --preset clang-mingw64

# One CTest run over both trees, so that its closing summary covers every test.
mkdir -p build/all
cat >build/all/CTestTestfile.cmake <<EOT
subdirs("$PWD/build/native")
subdirs("$PWD/build/mingw64")
EOT

# shellcheck source=winebed.sh
source scripts/winebed.sh
trap winebed_down EXIT
WINEBED_OWN_DISPLAY=1 winebed_up build/mingw64
# Under Wine a desktop test can lose a race with the window system now and then: a failed test
# runs once more, and only a second failure counts.
CORVANE_REQUIRE_ARCHIVES=1 ctest --test-dir build/all --output-on-failure -j2 --timeout 300 --repeat until-pass:2
