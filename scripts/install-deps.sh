#!/usr/bin/env bash
# Installs with apt whatever a fresh Debian 12 machine lacks to build, run and test
# voxtrelle and zentora. Does nothing when every package is already present.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang-format
  clang libclang-rt-14-dev
  libwxgtk3.2-dev libwxgtk-webview3.2-dev libgtk-3-dev
  libboost-regex-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  libtag1-dev
  libsdl2-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-tools
  mp3splt mp3val
  libcurl4-openssl-dev
  fonts-wqy-microhei
  libgtest-dev libgmock-dev
  xvfb xauth imagemagick xdotool openbox
  sox ffmpeg
  librsvg2-bin desktop-file-utils appstream man-db groff-base
  dpkg-dev file lintian
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
