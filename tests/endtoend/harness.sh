# What both end-to-end scripts share: a work folder removed at the end (kept
# with KEEP=1), the processes they started stopped, and a wait that polls.
# Sourced; the script defines fail().

work="$(mktemp -d)"
pids=()
finish() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    [ -n "${KEEP:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap finish EXIT

source "$(dirname "${BASH_SOURCE[0]}")/../../tools/within.sh"

# A display of our own, exported as DISPLAY, its server's process in $xvfb.
# Servers that choose their own number (-displayfd) take no lock file and try
# the low numbers one by one, so take a random number far above them, ours
# once its lock file names our server (a server that finds it taken gives
# up); listen on an abstract socket too, which no removed socket file can
# take away. The server must not reset when the check's connection closes: a
# program that connects during a reset fails ("could not connect to display").
ours() { [ "$({ tr -d ' ' <"/tmp/.X$1-lock"; } 2>/dev/null)" = "$xvfb" ]; }
up_or_gone() { ours "$1" && xdotool getdisplaygeometry >/dev/null 2>&1 || ! kill -0 "$xvfb" 2>/dev/null; }
own_display() {
    local attempt number
    for attempt in 1 2 3 4 5; do
        number=$((100 + RANDOM % 900))
        Xvfb ":$number" -screen 0 "${1:-1024x768x24}" -nolisten tcp -listen local -noreset 2>/dev/null &
        xvfb=$!
        pids+=("$xvfb")
        export DISPLAY=":$number"
        within 30 up_or_gone "$number" && ours "$number" && return 0
        kill "$xvfb" 2>/dev/null || true
    done
    fail "Xvfb did not start"
}
