#!/usr/bin/env bash
# The real program on a virtual display, driven through its own buttons and
# dialogs as a person would: the example points, a run, "Save Results As Text
# File" through the save dialog (the file must match the expected one byte for
# byte); then a large list loaded through the open dialog, a run, and the
# window closed in the middle of it (the process must end at once, cleanly).
#   endtoend.sh MERIDANE CLOSEWINDOW EXPECTED-RESULTS
set -euo pipefail
meridane="$1"
closewindow="$2"
expected="$3"

source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

# The screen at a failure is kept beside the work folder, when ImageMagick is there.
fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/meridane.log" ] && sed 's/^/  meridane: /' "$work/meridane.log" >&2
    if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null &&
        import -window root "$work.png" 2>/dev/null; then
        echo "  the screen: $work.png" >&2
    fi
    exit 1
}

own_display

# A settings store of our own (so Miles is selected as on a first start),
# and a desktop whose URL handler opens nothing.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
mkdir -m 700 "$work/runtime"
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP WAYLAND_DISPLAY BROWSER
export PATH="$(cd "$(dirname "${BASH_SOURCE[0]}")/../support/handlers" && pwd):$PATH"

"$meridane" >"$work/meridane.log" 2>&1 &
program=$!
pids+=("$program")

windows() { xdotool search --onlyvisible --pid "$program" 2>/dev/null || true; }
titles() { windows | while read -r w; do printf '"%s" ' "$(xdotool getwindowname "$w")"; done; }
one_window() { [ "$(windows | wc -l)" -eq 1 ]; }
new_window() { windows | grep -vx "$main" | head -n 1; }
has_new_window() { [ -n "$(new_window)" ]; }
ended() { [[ "$(ps -o stat= -p "$program" || true)" =~ ^(Z|$) ]]; }

server() { kill -0 "$xvfb" 2>/dev/null && echo "Xvfb $DISPLAY running" || echo "Xvfb $DISPLAY gone"; }
within 60 one_window || fail "the window did not appear ($(server))"
main="$(windows)"

# Clicks the middle of a control, given in pixels of the window, then rests
# the pointer on the bare window, where no tooltip can open.
click() { xdotool mousemove --window "$main" "$1" "$2" click 1 mousemove --window "$main" 4 632; }
example_points() { click 400 230; }
start_run() { click 268 338; }
save_text() { click 136 547; }
load_file() { click 380 197; }

# Waits until the program has handled every key and click sent so far: it
# has answered two pings (what the first one's handling posted is done too).
caught_up() {
    "$closewindow" --ping "$main" && "$closewindow" --ping "$main" || fail "no answer to a ping"
}

# Answers the dialog that the last click opened, which must bear the title
# given (an error report would not), with a file name or with Return alone.
# The name goes into the file name box (Alt+N), all of it replaced; should the
# dialog still be open once the program has handled the keys (the name's
# completion list can take the Return for itself), the answer is given again.
answer() {
    within 30 has_new_window || fail "no dialog after $1"
    local dialog title deadline=$((SECONDS + 60))
    dialog="$(new_window)"
    title="$(xdotool getwindowname "$dialog")"
    [ "$title" = "$2" ] || fail "after $1 came \"$title\" instead of \"$2\""
    while windows | grep -qx "$dialog"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "the dialog after $1 stayed open (open: $(titles))"
        timeout 10 xdotool windowfocus --sync "$dialog" 2>/dev/null || continue
        caught_up
        if [ -n "${3:-}" ]; then
            xdotool key --clearmodifiers alt+n ctrl+a
            xdotool type --delay 2 "$3"
        fi
        xdotool key Return
        caught_up
    done
    within 60 one_window || fail "a window after $1 stayed open (open: $(titles))"
}

example_points
start_run
answer "the run" "Meridane"
save_text
answer "Save Results As Text File" "Save" "$work/results.txt"
within 30 test -s "$work/results.txt" || fail "no results file"
cmp "$expected" "$work/results.txt" || fail "the saved results differ from $expected"
echo "ok: example points, run and save through the dialog give the expected file"

# A list long enough that the run is still going when the window closes.
awk 'BEGIN { for (i = 0; i < 1000000; i++) printf "%.4f,%.4f\n", (i % 1800) / 10 - 90, (i % 3600) / 10 - 180 }' \
    >"$work/large.txt"
# The pointer rests on the bare window: the cursor shown there while nothing
# runs, read once the program has answered a ping.
idle="$("$closewindow" --cursor "$main")" || fail "the window did not answer a ping"
load_file
answer "Load Coordinates From File" "Load List(s) - Hold Ctrl to select multiple list files" \
    "$work/large.txt"
"$closewindow" --until "$idle" "$main" || fail "the load did not end"
start_run
# Closed as soon as the hourglass shows: the run is under way, and it goes on
# for well over a second (the close is handled at its next yield).
"$closewindow" --close-unless "$idle" "$main" || fail "the run was never seen under way"
has_new_window && fail "the run had ended before the window was closed"
within 30 ended || fail "the process still runs after closing"
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "the process ended with status $status"
echo "ok: closing the window mid-run ended the process with status 0"
