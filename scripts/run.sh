#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it on a sample
# memo book (written on first use), or on the memo books given as arguments.
#
#   bash scripts/run.sh [MEMO-BOOK...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target brolteck-memo bmemo

sample="${XDG_DATA_HOME:-$HOME/.local/share}/brolteck-memo/sample-memo.txt"
if [ ! -f "$sample" ]; then
    mkdir -p "$(dirname "$sample")"
    # Memo files are CP932 text; the sample is written in UTF-8 here.
    iconv -f UTF-8 -t CP932 > "$sample" <<'MEMO'
T>
件名:
メモ:

りんご
赤い果物。

カレー
火曜日に作る。

apple
red fruit

Banana
yellow

きつね
森の動物。

MEMO
    echo "Wrote the sample memo book $sample"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found: the memo book window needs a desktop session."
    echo "Without one, start it under a virtual X server:"
    echo "    xvfb-run -a bash scripts/run.sh"
    echo "Headwords of $sample, in collation order:"
    build/release/app/bmemo/bmemo list "$sample"
    exit 1
fi

if [ $# -eq 0 ]; then
    set -- "$sample"
fi
exec build/release/app/brolteck-memo "$@"
