#!/usr/bin/env bash
# End-to-end test of editing and searching in the real program, under its own
# Xvfb server, driven with xdotool key strokes:
#  1. Ins, a Japanese headword and a two-line content typed into the edit
#     dialog, OK, Ctrl+S: the memo file's CP932 bytes; then Del, Ctrl+Z and
#     Ctrl+S again: the book unchanged, the backup the version before the
#     first save, and the program quits without a question.
#  2. Ctrl+F with a string, F3 to the next hit, Ctrl+C with the list focused:
#     the clipboard holds the shown memo with CR LF line breaks.
#
# Usage: edit_search_test.sh PATH/TO/brolteck-memo
# Exit 77 (skipped) only when a tool it needs is not installed.
set -euo pipefail

program=$1
source "$(dirname "$0")/common.sh"
require_tools Xvfb xdotool xclip iconv od

work=$(mktemp -d)
xvfb_pid=""
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*"
    exit 1
}

start_xvfb

cp "$program" "$work/brolteck-memo"
cd "$work"

sjis() { printf "$1" | iconv -f UTF-8 -t CP932; }
hex() { od -An -v -tx1 | tr -d ' \n'; }

# Starts the program on BOOK and focuses its window.
start() {
    ./brolteck-memo "$1" 2>>"$work/run.log" &
    pid=$!
    wait_for 30 xdotool search --name "^${1//./\\.} - Brolteck/Memo\$" ||
        fail "no window for $1 ($(cat "$work/run.log"))"
    main=$(xdotool search --name "^${1//./\\.} - Brolteck/Memo\$" | head -n1)
    xdotool windowfocus --sync "$main"
}

# Waits for the dialog titled TITLE and focuses it.
dialog() {
    wait_for 20 xdotool search --onlyvisible --name "^$1\$" || fail "no dialog '$1'"
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "^$1\$" | head -n1)"
}

# Waits until FILE holds exactly the bytes of the printf format EXPECTED (UTF-8, converted).
expect_file() {
    local want
    want=$(sjis "$2" | hex)
    wait_for 20 sh -c "[ \"\$(od -An -v -tx1 '$1' | tr -d ' \n')\" = '$want' ]" ||
        fail "$1 holds $(hex <"$1"), not $want"
}

# 1. Add a memo, save; delete it, undo, save again.
original='apple\r\nred fruit\r\n\r\n'
sjis "$original" >memo.txt
start memo.txt
xdotool key --clearmodifiers Insert
dialog 'メモの編集'
xdotool type --delay 20 'みかん'
xdotool key Tab
xdotool type --delay 20 '黄色い'
xdotool key Return
xdotool type --delay 20 '冬の果物'
xdotool key shift+Tab Return  # back to the headword field, where Enter is OK
wait_for 20 sh -c "! xdotool search --onlyvisible --name '^メモの編集\$'" || fail "the dialog stayed"
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+s
# The dialog's lines are joined by CR LF, and the writer turns each LF into CR LF.
added='apple\r\nred fruit\r\n\r\nみかん\r\n黄色い\r\r\n冬の果物\r\n\r\n'
expect_file memo.txt "$added"
expect_file memo.bak "$original"

xdotool key --clearmodifiers Delete
xdotool key --clearmodifiers ctrl+z
xdotool key --clearmodifiers ctrl+s  # undone to the saved state: nothing to save
sleep 0.5
expect_file memo.txt "$added"
expect_file memo.bak "$original"
# Not modified any more: Alt+X quits at once, with no question.
xdotool key --clearmodifiers alt+x
wait_for 20 sh -c "! kill -0 $pid" || fail "the program did not quit (a question?)"
wait "$pid" || fail "the program ended with status $?"
pid=""

# 2. Search, step, copy the shown memo with the list focused.
sjis 'りんご\n赤い。\n\n会議\n月曜の定例。\n\n出張\n大阪へ新幹線。\n切符を買う。\n\n旅行\n新幹線で京都へ。\n夏に行く。\n\n' >book.txt
start book.txt
xdotool key --clearmodifiers ctrl+f
dialog '検索'
xdotool type --delay 20 '新幹線'
xdotool key Return
wait_for 20 sh -c "! xdotool search --onlyvisible --name '^検索\$'" || fail "the find dialog stayed"
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers F3
sleep 0.3
xdotool key --clearmodifiers ctrl+c
want=$(printf '旅行\r\n新幹線で京都へ。\r\n夏に行く。\r\n' | hex)
wait_for 20 sh -c "[ \"\$(xclip -o -selection clipboard | od -An -v -tx1 | tr -d ' \n')\" = '$want' ]" ||
    fail "the clipboard holds '$(xclip -o -selection clipboard 2>&1)'"
xdotool key --clearmodifiers alt+x
wait_for 20 sh -c "! kill -0 $pid" || fail "the program did not quit"
wait "$pid" || fail "the program ended with status $?"
pid=""

echo "2 passed, 0 failed"
