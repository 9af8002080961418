#!/usr/bin/env bash
# The windows under a Wayland compositor of our own (Weston, headless, with
# Qt drawing the title bars): maximized and full screen set by the compositor,
# each window keeps its size without a protocol error (see keepsize.cpp).
#   wayland.sh KEEPSIZE
set -euo pipefail
keepsize="$1"

source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/weston.log" ] && tail -n 20 "$work/weston.log" | sed 's/^/  weston: /' >&2
    exit 1
}

# A compositor in a runtime folder of our own: its socket is ours alone.
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP XDG_SESSION_TYPE
weston --backend=headless-backend.so --use-pixman --socket=wayland-test --width=1280 \
    --height=1024 --idle-time=0 --no-config >"$work/weston.log" 2>&1 &
weston=$!
pids+=("$weston")
up_or_gone() { [ -S "$XDG_RUNTIME_DIR/wayland-test" ] || ! kill -0 "$weston" 2>/dev/null; }
within 60 up_or_gone && [ -S "$XDG_RUNTIME_DIR/wayland-test" ] || fail "Weston did not start"

export WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland
unset QT_WAYLAND_DISABLE_WINDOWDECORATION
status=0
"$keepsize" >"$work/keepsize.log" 2>&1 || status=$?
cat "$work/keepsize.log"
[ "$status" -eq 0 ] || fail "the windows did not keep their size (status $status)"
