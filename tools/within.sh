# Waits up to $1 seconds for the command that follows to succeed, polling.
# Sourced by the start script and the end-to-end tests.
within() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}
