#!/usr/bin/env bash
# Renders the PNG sizes of the program's icon from packaging/icons/meridane.svg
# (needs rsvg-convert, Debian package librsvg2-bin). Run it after changing the
# SVG and commit the PNG files it writes.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$ROOT/packaging/icons/meridane.svg" \
        -o "$ROOT/packaging/icons/meridane-$size.png"
done
