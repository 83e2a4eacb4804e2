#!/usr/bin/env bash
# Rebuilds the glyph generator and redraws the built-in images into elements/images/.
# The next build embeds whatever changed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja
fi
ninja -C "$build" make_glyphs
mkdir -p "$root/elements/images"
"$build/make_glyphs" "$root/elements/images"
echo "images written to $root/elements/images"
