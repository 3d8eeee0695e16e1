#!/usr/bin/env bash
# Installs what the build, the panel under Wine and the tests need, on Debian 12.
# Idempotent: installs only what is missing; safe to run before every build.
set -euo pipefail

pkgs=(
  cmake make g++ ninja-build pkg-config clang-format
  mingw-w64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest libgtest-dev libcairo2-dev libpng-dev libstb-dev
  wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick fonts-wqy-microhei
  pulseaudio pulseaudio-utils locales
  nsis
)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# the stand-in convert of some machines only serves a file viewer: the real one comes from imagemagick
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the locale: the preset tests run the panel in 1252
# (en_US.UTF-8) and in 936 (zh_CN.UTF-8), so both locales must exist
for loc in en_US zh_CN; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8$"; then
    echo "setup: making the $loc.UTF-8 locale"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
  fi
done
