#!/usr/bin/env bash
# Builds the libFuzzer targets of the memo file reader and the CP932 codec
# with clang (AddressSanitizer, UndefinedBehaviorSanitizer, leak checks) in
# build/fuzz and runs each for the given number of seconds (default 60).
# Not part of CI. Corpora and crash inputs stay in build/fuzz.
#
#   tests/fuzz/run-fuzzers.sh [SECONDS]
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$root/build/fuzz"

# clang and its fuzzer runtime, installed when missing.
probe() {
    echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' |
        clang++ -x c++ -fsanitize=fuzzer,address,undefined - -o /dev/null 2>/dev/null
}
apt_install() {
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -q \
        --no-install-recommends "$@"
}
if ! command -v clang++ >/dev/null; then
    apt_install clang
fi
if ! probe; then
    apt_install "libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev"
    probe || { echo "clang cannot link libFuzzer targets" >&2; exit 1; }
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" \
    -DMEMO_SANITIZE=ON -DMEMO_BUILD_UI=OFF -DMEMO_BUILD_TESTS=OFF -DMEMO_BUILD_FUZZERS=ON >/dev/null
cmake --build "$build" --target memo_reader_fuzzer memo_codec_fuzzer

# Seeds: a memo file with a template, CR CR LF content, duplicates, 0x1A and
# Shift-JIS text; a dictionary of the bytes that mean something to the reader.
mkdir -p "$build/corpus/reader" "$build/corpus/codec" "$build/crashes"
printf 'T>Contact\r\nPhone:\r\nMail:\r\n\r\napple\r\nred fruit\r\n\r\nbanana\r\nyellow\r\r\nlong\r\n\r\n' \
    >"$build/corpus/reader/example"
printf '\r\n\r\nA\r\nx\r\n\r\nA\r\ny\r\n\r\nT>late\r\nz\nlast\x1atail' >"$build/corpus/reader/rules"
printf '\x83\x4a\x83\x8c\x81\x5b\r\n\x82\xab\x82\xc2\x82\xcb\r\n\r\n\xed\x40\r\n\xfa\x5c\r\n' \
    >"$build/corpus/reader/japanese"
cp "$build/corpus/reader/"* "$build/corpus/codec/"
printf '\x81\x60\x81\x61\x81\x7c\x81\x5c\x81\x91\x81\x92\x81\xca\x1a\x1c\x7f\x80\xa0\xfd' \
    >"$build/corpus/codec/specials"
printf 'marker="T>"\ncrlf="\\x0d\\x0a"\neof="\\x1a"\nsep="\\x0d\\x0a\\x0d\\x0a"\n' >"$build/reader.dict"

status=0
run() {
    local name="$1"
    shift
    echo "== $name: $seconds s"
    if ! "$build/tests/fuzz/$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
        -artifact_prefix="$build/crashes/$name-" -print_final_stats=1 "$@" \
        2>"$build/$name.log"; then
        echo "!! $name found a failure; see $build/$name.log and $build/crashes" >&2
        status=1
    fi
    grep -E "^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb)" "$build/$name.log" || true
}
run memo_reader_fuzzer -max_len=8192 -dict="$build/reader.dict" "$build/corpus/reader"
run memo_codec_fuzzer -max_len=1024 "$build/corpus/codec"
exit $status
