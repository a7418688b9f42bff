#!/usr/bin/env bash
# Benchmarks of the memo book core on realistic memo books of 10,000, 100,000
# and 1,000,000 memos, beside floors measured in the same run on the same
# files: `wc -l` for reading, `grep -F -c` for searching, `cp` for saving.
# Prints the median of several runs and the peak memory, and checks the
# targets on the 1,000,000-memo book.
#
#   bash tests/bench/run-benchmarks.sh [--reps N] [--sizes "10000 100000"]
#                                      [--regenerate] [--model-steps N]
#
# --model-steps N also runs the document model test for N steps in the test
# build (a longer run than CI's). The books are generated once into
# build/bench-data from the words of the SKK dictionary (Debian's skkdic,
# installed here when missing) and are not part of the repository.
set -euo pipefail
cd "$(dirname "$0")/../.."

reps=5
sizes="10000 100000 1000000"
regenerate=0
model_steps=""
while [ $# -gt 0 ]; do
    case "$1" in
        --reps) reps="$2"; shift 2 ;;
        --sizes) sizes="$2"; shift 2 ;;
        --regenerate) regenerate=1; shift ;;
        --model-steps) model_steps="$2"; shift 2 ;;
        -h|--help) sed -n '2,15p' "$0"; exit 0 ;;
        *) echo "unknown option: $1 (see --help)" >&2; exit 2 ;;
    esac
done

# Numbers and tools in the C locale; the memo book core collates in Japanese,
# as for its users (it reads the collation locale from LC_ALL).
export LC_ALL=C
collation=ja_JP.UTF-8
big=1000000
data=build/bench-data
bench=build/release/tests/bench/memo_bench
gen=build/release/tests/bench/gen_memobook
dict=/usr/share/skk/SKK-JISYO.L
present="ペルセウス座流星群の観測記録"  # planted in five memos of each book
absent="該当なしＱＸＺ"

bash scripts/install-deps.sh
if [ ! -f "$dict" ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get -o DPkg::Lock::Timeout=600 update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q \
        --no-install-recommends skkdic
fi
cmake --preset release >/dev/null
cmake --build --preset release --target gen_memobook memo_bench

mkdir -p "$data"
for n in $sizes; do
    book="$data/book-$n.txt"
    if [ "$regenerate" = 1 ] || [ ! -f "$book" ] || { [ "$n" = "$big" ] && [ ! -f "$data/shuffled-$n.txt" ]; }; then
        extra=()
        [ "$n" = "$big" ] && extra=(--shuffled "$data/shuffled-$n.txt")
        LC_ALL=$collation "$gen" --dict "$dict" --count "$n" --out "$book" --plant "$present" "${extra[@]}"
    fi
done

present_sj=$(printf '%s' "$present" | iconv -f UTF-8 -t CP932)
absent_sj=$(printf '%s' "$absent" | iconv -f UTF-8 -t CP932)

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# Median wall time of a command run $reps times; its output goes to a file.
floor_time() {
    local out="$data/floor.out" i start end
    for ((i = 0; i < reps; i++)); do
        start=$EPOCHREALTIME
        "$@" > "$out"
        end=$EPOCHREALTIME
        awk -v s="$start" -v e="$end" 'BEGIN { printf "%.6f\n", e - s }'
    done | median
}

# memo_bench prints: measure, median wall s, peak kB, median CPU s, note.
# Runs of one load each go in their own process, so the peak is the load's.
load_runs() {
    local i
    for ((i = 0; i < reps; i++)); do
        LC_ALL=$collation "$bench" load "$1"
    done > "$data/load.out"
    printf 'load %s %s %s\n' "$(awk '{ print $2 }' "$data/load.out" | median)" \
        "$(awk '{ print $3 }' "$data/load.out" | median)" \
        "$(awk '{ print $4 }' "$data/load.out" | median)"
}
run_bench() { LC_ALL=$collation "$bench" "$@"; }

failures=0
checked=0
row() {  # book, measure, line from memo_bench, floor name, floor s, limit ratio or "", limit s or ""
    local book="$1" what="$2" line="$3" floor_name="$4" floor="$5" ratio_limit="$6" abs_limit="$7"
    local wall peak cpu verdict="" target="" ratio="-"
    read -r _ wall peak cpu _ <<< "$line"
    if [ -n "$floor" ]; then
        ratio=$(awk -v a="$wall" -v b="$floor" 'BEGIN { printf "%.2fx", a / b }')
    fi
    if [ -n "$ratio_limit" ]; then
        target="<= ${ratio_limit}x $floor_name"
        verdict=$(awk -v a="$wall" -v b="$floor" -v l="$ratio_limit" 'BEGIN { print (a <= l * b ? "PASS" : "FAIL") }')
    elif [ -n "$abs_limit" ]; then
        target="<= $abs_limit s"
        verdict=$(awk -v a="$wall" -v l="$abs_limit" 'BEGIN { print (a <= l ? "PASS" : "FAIL") }')
    fi
    [ -n "$verdict" ] && checked=$((checked + 1))
    [ "$verdict" = FAIL ] && failures=$((failures + 1))
    printf '%-10s %-16s %10.6f %9.6f %8.1f  %-13s %9s %7s  %-16s %s\n' "$book" "$what" "$wall" "$cpu" \
        "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" "${floor_name:--}" \
        "$( [ -n "$floor" ] && printf '%.4f' "$floor" || echo -)" "$ratio" "${target:--}" "$verdict"
}
memory_row() {  # book, peak kB of its load, file bytes
    local peak_mb size_mb times verdict="" target=""
    peak_mb=$(awk -v k="$2" 'BEGIN { printf "%.1f", k / 1024 }')
    size_mb=$(awk -v b="$3" 'BEGIN { printf "%.1f", b / 1048576 }')
    times=$(awk -v k="$2" -v b="$3" 'BEGIN { printf "%.2fx", k * 1024 / b }')
    if [ "$4" = check ]; then
        target="<= 2.5x file"
        verdict=$(awk -v k="$2" -v b="$3" 'BEGIN { print (k * 1024 <= 2.5 * b ? "PASS" : "FAIL") }')
        checked=$((checked + 1))
        [ "$verdict" = FAIL ] && failures=$((failures + 1))
    fi
    printf '%-10s %-16s %10s %9s %8s  %-13s %9s %7s  %-16s %s\n' "$1" "load peak memory" "-" "-" \
        "$peak_mb" "file MB" "$size_mb" "$times" "${target:--}" "$verdict"
}

echo
echo "Medians of $reps runs (commands: of 51). Times in seconds, memory in MB (peak"
echo "resident size of the process). CPU counts both threads of a load; wall time far"
echo "above CPU time means the machine was busy with other work."
echo "Load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
printf '%-10s %-16s %10s %9s %8s  %-13s %9s %7s  %-16s %s\n' book measure wall cpu "peak MB" floor "floor s" ratio target result
for n in $sizes; do
    book="$data/book-$n.txt"
    label="$n"
    size=$(stat -c %s "$book")
    check=""
    [ "$n" = "$big" ] && check=yes

    wc_s=$(floor_time wc -l "$book")
    grep_present_s=$(floor_time grep -F -c "$present_sj" "$book")
    grep_absent_s=$(floor_time grep -F -c "$absent_sj" "$book")
    cp_s=$(floor_time cp "$book" "$data/cp-floor.txt")

    load=$(load_runs "$book")
    row "$label" load "$load" "wc -l" "$wc_s" "" "${check:+0.8}"
    memory_row "$label" "$(awk '{ print $3 }' <<< "$load")" "$size" "${check:+check}"
    row "$label" save "$(run_bench save "$book" "$data/saved.txt" --reps "$reps")" cp "$cp_s" "${check:+3}" ""
    cmp -s "$book" "$data/saved.txt" || { echo "save did not reproduce $book" >&2; failures=$((failures + 1)); }
    line=$(run_bench find "$book" "$present" --reps "$reps")
    row "$label" "find (5 hits)" "$line" grep "$grep_present_s" "${check:+2}" ""
    line=$(run_bench find "$book" "$absent" --reps "$reps")
    row "$label" "find (no hit)" "$line" grep "$grep_absent_s" "${check:+2}" ""

    if [ "$n" = "$big" ]; then
        shuffled="$data/shuffled-$n.txt"
        load=$(load_runs "$shuffled")
        row "unsorted" load "$load" "wc -l" "$(floor_time wc -l "$shuffled")" "" 0.8
        memory_row "unsorted" "$(awk '{ print $3 }' <<< "$load")" "$(stat -c %s "$shuffled")" check

        while read -r line; do
            row "$label" "$(awk '{ print $1 }' <<< "$line")" "$line" "" "" "" 0.001
        done < <(run_bench commands "$book" --reps 51)

        cp "$book" "$data/docsave.txt"
        row "$label" "doc save+backup" "$(run_bench docsave "$data/docsave.txt" --reps "$reps")" cp "$cp_s" 3 ""
    fi
done
echo
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
rm -f "$data/floor.out" "$data/load.out" "$data/cp-floor.txt" "$data/saved.txt" \
    "$data/docsave.txt" "$data/docsave.bak"

if [ -n "$model_steps" ]; then
    echo
    echo "Document model test, $model_steps steps (test build):"
    cmake --preset test >/dev/null
    cmake --build --preset test --target core_tests
    start=$EPOCHREALTIME
    MEMO_MODEL_STEPS="$model_steps" build/test/tests/core_tests --gtest_filter='DocModel.*' ||
        failures=$((failures + 1))
    awk -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN { printf "model test: %.1f s\n", e - s }'
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures target(s) missed"
    exit 1
fi
if [ "$checked" -eq 0 ]; then
    echo "No target checked: they apply to the $big-memo book"
else
    echo "All $checked targets met"
fi
