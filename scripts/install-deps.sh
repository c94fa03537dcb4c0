#!/usr/bin/env bash
# Installs the Debian packages Quillmere needs to build, run and test.
# Idempotent: quiet and fast when everything is present. Works as root or through sudo.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake pkg-config clang-format
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # windows, fonts, images
  qt6-base-dev libgl-dev fonts-dejavu-core fonts-liberation
  # sound
  libsndfile1-dev libasound2-dev
  # real-display tests: X server, window manager, input, screenshots
  xvfb xauth x11-utils xdotool openbox
  # independent producer and decoder of test clips
  ffmpeg
  # volume tests: loop devices and ext4 images
  util-linux e2fsprogs
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}" >&2
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
