#!/usr/bin/env bash
# Installs what is missing, builds Meridane and starts it. Without a display
# it starts the program on a virtual display, saves a screenshot of the
# window and says where.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/tools/packages.sh"

# LibreOffice Calc receives the results of "Save Results As Excel File";
# xdg-utils opens the home page and, without Calc, the workbook.
install_missing "${BUILD_PACKAGES[@]}" qt6-gtk-platformtheme libreoffice-calc xdg-utils \
    xvfb xauth imagemagick x11-utils
build_meridane

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$ROOT/build/meridane"
fi

source "$ROOT/tools/within.sh"

# A display the server itself found free: it writes its number when it is
# ready for connections.
numbers="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numbers" >/dev/null 2>&1 &
xvfb=$!
within 30 test -s "$numbers" || { echo "Xvfb did not start" >&2; exit 1; }
display=":$(head -n 1 "$numbers")"
rm -f "$numbers"
DISPLAY="$display" "$ROOT/build/meridane" >/dev/null 2>&1 &
program=$!
# The window is up once the server knows a visible window of that name.
window_up() { DISPLAY="$display" xwininfo -name Meridane >/dev/null 2>&1; }
within 60 window_up || { echo "the window did not appear" >&2; exit 1; }
shot="$ROOT/build/meridane-window.png"
geometry="$(DISPLAY="$display" xwininfo -name Meridane | awk '/Width:/ { w = $2 } /Height:/ { h = $2 }
    /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 } END { printf "%dx%d+%d+%d", w, h, x, y }')"
DISPLAY="$display" import -window root -crop "$geometry" +repage "$shot"
echo "No display here: Meridane runs on the virtual display $display (process $program)."
echo "Screenshot of its window: $shot"
echo "Stop it with: kill $program $xvfb"
