#!/usr/bin/env bash
# Installs what is missing, builds Meridane and starts it. Without a display
# it starts the program on a virtual display, saves a screenshot of the
# window and says where.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/tools/packages.sh"

# LibreOffice Calc receives the results of "Save Results As Excel File".
install_missing "${BUILD_PACKAGES[@]}" qt6-gtk-platformtheme libreoffice-calc xdg-utils \
    xvfb xauth imagemagick
build_meridane

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$ROOT/build/meridane"
fi

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY="$display" "$ROOT/build/meridane" >/dev/null 2>&1 &
program=$!
sleep 3
shot="$ROOT/build/meridane-window.png"
DISPLAY="$display" import -window root -crop 536x637+0+0 +repage "$shot"
echo "No display here: Meridane runs on the virtual display $display (process $program)."
echo "Screenshot of its window: $shot"
echo "Stop it with: kill $program $xvfb"
