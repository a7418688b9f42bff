#!/usr/bin/env bash
# Installs what is missing, builds the program and shows a sample memo book.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target bmemo

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
echo "Headwords of $sample, in collation order:"
build/release/app/bmemo/bmemo list "$sample"
