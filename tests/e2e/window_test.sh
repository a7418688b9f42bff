#!/usr/bin/env bash
# End-to-end test of the real program: under its own Xvfb server, start
# brolteck-memo on a memo book in a temporary directory, read the window
# title, quit with Alt+X and check the settings file it wrote beside itself;
# then start it with two files and see two windows; then save beyond a
# file-size limit and see a message instead of the program's end.
#
# Usage: window_test.sh PATH/TO/brolteck-memo
# Exit 77 (skipped) only when Xvfb or xdotool is not installed.
set -euo pipefail

program=$1
source "$(dirname "$0")/common.sh"
require_tools Xvfb xdotool iconv

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    # Programs still running after a failure: end each by its own id.
    for wid in $(xdotool search --name 'Brolteck/Memo$' 2>/dev/null || true); do
        pid=$(xdotool getwindowpid "$wid" 2>/dev/null || true)
        [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    done
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*"
    if [ -f "$work/brolteck-memo.ini" ]; then
        echo "--- settings file:"
        cat "$work/brolteck-memo.ini"
    fi
    exit 1
}

# Without any display the program says what is needed instead of aborting.
if out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" 2>&1); then
    fail "the program ran without a display"
fi
grep -q "xvfb-run" <<<"$out" || fail "no word of xvfb-run without a display: $out"

start_xvfb

# The program writes its settings beside itself: copy it into the directory.
cp "$program" "$work/brolteck-memo"
printf 'りんご\n赤い果物。\n\napple\nred fruit\n\n' | iconv -f UTF-8 -t CP932 >"$work/book.txt"
printf 'カレー\n火曜日に作る。\n\n' | iconv -f UTF-8 -t CP932 >"$work/book2.txt"
cd "$work"

title_of() { printf '^%s - Brolteck/Memo$' "${1//./\\.}"; }
window_of() { xdotool search --name "$(title_of "$1")" | head -n1; }

# Focuses the window titled after FILE and presses Alt+X.
quit_window() {
    local wid
    wid=$(window_of "$1")
    xdotool windowfocus --sync "$wid"
    xdotool key --clearmodifiers alt+x
}

# Waits for PID to end; fails unless it ended with status 0.
wait_exit() {
    local pid=$1
    wait_for 20 sh -c "! kill -0 $pid" || fail "the program did not quit"
    wait "$pid" || fail "the program ended with status $?"
}

# 1. One file: title, Alt+X, the settings written at close.
./brolteck-memo book.txt 2>"$work/run1.log" &
pid=$!
wait_for 30 xdotool search --name "$(title_of book.txt)" ||
    fail "no window titled 'book.txt - Brolteck/Memo' ($(cat "$work/run1.log"))"
quit_window book.txt
wait_exit "$pid"

ini="$work/brolteck-memo.ini"
[ -f "$ini" ] || fail "no settings file beside the program"
section() { awk -v s="[$1]" '$0 == s { on = 1; next } /^\[/ { on = 0 } on && NF' "$ini"; }
window=$(section Window)
for key in WindowState=Normal RestoreMaximize=0 ShowBasicToolBar=1 ShowStatusBar=1; do
    grep -qx "$key" <<<"$window" || fail "[Window] lacks $key"
done
for key in Left Top Width Height EntryWordWidth; do
    grep -qE "^$key=-?[0-9]+$" <<<"$window" || fail "[Window] lacks a number for $key"
done
grep -qx "Width=472" <<<"$window" || fail "the window is not 472 pixels wide"
recent=$(section RecentUsedFiles)
grep -qx "Num=1" <<<"$recent" || fail "[RecentUsedFiles] lacks Num=1"
grep -qx "File1=$work/book.txt" <<<"$recent" || fail "[RecentUsedFiles] lacks File1"

# 2. Two files: this instance opens the first, a new one the second.
./brolteck-memo book.txt book2.txt 2>"$work/run2.log" &
pid=$!
wait_for 30 xdotool search --name "$(title_of book.txt)" || fail "no window for book.txt"
wait_for 30 xdotool search --name "$(title_of book2.txt)" || fail "no window for book2.txt"
[ "$(xdotool search --name 'Brolteck/Memo$' | wc -l)" -eq 2 ] || fail "not exactly two windows"
other=$(xdotool getwindowpid "$(window_of book2.txt)")
[ "$other" != "$pid" ] || fail "book2.txt opened in the first instance"
quit_window book2.txt
wait_for 20 sh -c "! kill -0 $other" || fail "the second instance did not quit"
quit_window book.txt
wait_exit "$pid"
grep -qx "File1=$work/book.txt" <<<"$(section RecentUsedFiles)" ||
    fail "the last instance to close did not write its recent files"

# 3. A save beyond the file-size limit fails with a message; the program
#    goes on (the limit's signal would otherwise end it).
for i in $(seq 400); do printf 'headword%d\ncontent of memo %d\n\n' "$i" "$i"; done >"$work/big.txt"
(ulimit -f 4 && exec ./brolteck-memo big.txt 2>"$work/run3.log") &
pid=$!
wait_for 30 xdotool search --name "$(title_of big.txt)" || fail "no window for big.txt"
xdotool windowfocus --sync "$(window_of big.txt)"
xdotool key --clearmodifiers alt+f a
wait_for 20 sh -c "[ \$(xdotool search --onlyvisible --pid $pid | wc -l) -ge 2 ]" ||
    fail "no save dialog"
dialog=$(xdotool search --onlyvisible --pid "$pid" | grep -vx "$(window_of big.txt)" | head -n1)
xdotool windowfocus --sync "$dialog"
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 0 "$work/copy.txt"
xdotool key Return
wait_for 20 sh -c "xdotool search --name '^Brolteck/Memo\$' || ! kill -0 $pid" ||
    fail "no message for the failed save"
kill -0 "$pid" 2>/dev/null || fail "the program ended on the failed save"
xdotool windowfocus --sync "$(xdotool search --name '^Brolteck/Memo$' | head -n1)"
xdotool key Return
wait_for 20 sh -c "! xdotool search --name '^Brolteck/Memo\$'" || fail "the message stayed"
[ "$(stat -c %s "$work/big.txt")" -gt 4096 ] || fail "the book itself changed"
quit_window big.txt
wait_exit "$pid"

echo "1 passed, 0 failed"
