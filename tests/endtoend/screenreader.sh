#!/usr/bin/env bash
# The real window on a virtual display with the accessibility bus running,
# as a desktop with a screen reader has it; screenreader.py listens.
#   screenreader.sh MERIDANE
set -euo pipefail
meridane="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

source "$here/harness.sh"

fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/meridane.log" ] && sed 's/^/  meridane: /' "$work/meridane.log" >&2
    exit 1
}

own_display

# A session bus of our own with the accessibility bus on it.
eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=("$!")
bus_up() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; }
within 30 bus_up || fail "the accessibility bus did not start"

export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 PATH="$here/../support/handlers:$PATH"
mkdir -m 700 "$work/runtime"
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP WAYLAND_DISPLAY
printf '42.8712,-71.3878\n33.0169,-116.846\n6.49570,41.26694\n58.92982,47.90975\n' >"$work/points.txt"
"$meridane" --open "$work/points.txt" >"$work/meridane.log" 2>&1 &
pids+=("$!")
/usr/bin/python3 "$here/screenreader.py" || fail "the screen reader's view"
