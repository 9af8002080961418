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

# Waits up to $1 seconds for the command that follows to succeed.
within() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}
