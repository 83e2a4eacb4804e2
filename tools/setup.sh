#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing), then configures and
# builds everything with CMake and Ninja into build/. Sourced by tools/run and tools/test.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev            # host window, input events, clipboard, pointer shapes
  libx11-dev libxrandr-dev  # the host's first window, shown before SDL is up
  libcairo2-dev          # all drawing, into an image surface
  libpixman-1-dev        # cairo's rasteriser, called directly for cached blits
  libpango1.0-dev        # text layout and fonts (pangocairo, fontconfig)
  fonts-dejavu-core      # default GUI font with Cyrillic glyphs
  libpng-dev zlib1g-dev  # PNG decoding
  libjpeg62-turbo-dev    # JPEG decoding
  libarchive-dev         # zip reading and writing for the icon archives
  famfamfam-silk         # the Silk icons packed into the icon archives at build time
  libgtest-dev           # unit tests
  libbenchmark-dev       # benchmarks
  xvfb xauth             # a real X display for the SDL backend's tests
  xdotool xclip          # real keyboard input and clipboard for the SDL text input test
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
