#!/usr/bin/env bash
# Installs whatever the build, the tests and the demo need and this machine lacks.
# Debian packages only; as root it runs `apt-get update` once and installs, otherwise it names what is missing.
set -euo pipefail

packages=(cmake make g++ clang libclang-rt-dev lld llvm unzip
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          wine wine64 fonts-wine xvfb xauth x11-utils imagemagick locales fonts-ipafont-gothic
          googletest libgtest-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "deps: these Debian packages are missing and only root can install them: ${missing[*]}" >&2
    exit 1
  fi
  echo "deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  if ! apt-get install -y -qq --no-install-recommends "${missing[@]}" >/tmp/corvane-apt.log 2>&1; then
    echo "deps: apt-get install failed; see /tmp/corvane-apt.log. Still missing:" >&2
    for p in "${missing[@]}"; do
      dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "  $p" >&2
    done
    exit 1
  fi
fi

# Wine runs the programs with the Japanese ANSI code page (932), which needs the ja_JP.UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if [[ $(id -u) -ne 0 ]]; then
    echo "deps: the locale ja_JP.UTF-8 is missing; as root: enable it in /etc/locale.gen and run locale-gen" >&2
    exit 1
  fi
  sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi
