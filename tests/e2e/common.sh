# Shared by the end-to-end tests (sourced): tool checks, polling and a
# private X server. The caller defines `fail` and `$work` first.

# Exits 77 (skipped) when one of the tools is not installed.
require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIPPED: $tool is not installed"
            exit 77
        fi
    done
}

# Polls COMMAND until it succeeds, for at most SECONDS.
wait_for() {
    local seconds=$1
    shift
    local end=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.1
    done
}

# Starts Xvfb on a free display number, which it reports when ready, and
# points the programs started afterwards at it; sets xvfb_pid. -noreset: the
# server would reset when one program quits, and the next one could meet it
# mid-reset.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
        3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_for 20 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(head -n1 "$work/display")"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    export LC_ALL=C.UTF-8
    # Leak reports of the libraries below Qt are no concern here.
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
}
