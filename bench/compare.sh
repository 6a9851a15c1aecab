#!/usr/bin/env bash
# Runs the comparison benchmarks side by side, in one session, on the same
# real pages (see make_corpus.sh), and prints a Markdown table:
#   - grep -c -i -F KEYWORD over the files: a floor for searching bytes;
#   - gumbo_baseline: a full HTML5 parse of every file;
#   - quorvel-cli check ... --jobs 1 and --jobs 2 (when the build has them);
#   - the page scanner benchmark (Google Benchmark), when one is built;
#   - the peak RSS of quorvel-cli check over 1,000 and over 10,000 files.
# Each timing is the best of RUNS runs (default 3) after one warm-up run, so
# every tool reads the pages from the page cache.
#
#   bench/compare.sh [CORPUS_DIR]      (default /tmp/quorvel-corpus)
# Environment: BUILD_DIR (default build-bench), KEYWORD (default "table
# function"), RUNS.
set -euo pipefail
cd "$(dirname "$0")/.."
corpus="${1:-${QUORVEL_BENCH_CORPUS:-/tmp/quorvel-corpus}}"
build="${BUILD_DIR:-build-bench}"
keyword="${KEYWORD:-table function}"
runs="${RUNS:-3}"

[ -d "$corpus/files-10000" ] || bench/make_corpus.sh "$corpus"
# /usr/bin/time for peak memory, gumbo for the full-parse baseline.
if [ ! -x /usr/bin/time ] || ! dpkg -s libgumbo-dev >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq time libgumbo-dev
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUORVEL_BUILD_TESTS=OFF >/dev/null
targets=(quorvel-cli)
grep -q '^gumbo_baseline:' <(cmake --build "$build" --target help 2>/dev/null | sed 's/^\.\.\. //;s/ .*//;s/$/:/') &&
    targets+=(gumbo_baseline)
scanner_bench=$(cmake --build "$build" --target help 2>/dev/null | sed -n 's/^\.\.\. \(.*scan.*_bench\).*/\1/p' |
    head -n 1)
[ -n "$scanner_bench" ] && targets+=("$scanner_bench")
cmake --build "$build" -j 2 --target "${targets[@]}" >/dev/null
cli="$build/quorvel-cli"

bytes_of() { find "$1" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }'; }

# Best wall time in seconds of a command over $runs runs after a warm-up.
best_time() {
    "$@" >/dev/null 2>&1 || true
    local best="" start end
    for _ in $(seq 1 "$runs"); do
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1 || true
        end=$(date +%s.%N)
        best=$(awk -v a="$start" -v b="$end" -v best="$best" \
            'BEGIN { t = b - a; if (best == "" || t < best) best = t; printf "%.3f", best }')
    done
    echo "$best"
}

peak_rss_kb() {
    /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }'
}

row() {  # name, command text, seconds, bytes
    awk -v name="$1" -v cmd="$2" -v t="$3" -v b="$4" \
        'BEGIN { printf "| %s | %.3f s | %.1f MB/s | `%s` |\n", name, t, b / 1e6 / t, cmd }'
}

# Throughput is measured over every page of the corpus, a few thousand files.
pageSet="$corpus/all"
bytes=$(bytes_of "$pageSet")
files=("$pageSet"/*)
echo "Corpus: $pageSet, ${#files[@]} files, $bytes bytes; keyword \"$keyword\"; best of $runs runs"
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo
echo "| tool | time | throughput | command |"
echo "|---|---|---|---|"
t=$(best_time grep -c -i -F "$keyword" "${files[@]}")
row "grep -c -i -F" "grep -c -i -F \"$keyword\" $pageSet/*" "$t" "$bytes"
if [ -x "$build/bench/gumbo_baseline" ]; then
    t=$(best_time "$build/bench/gumbo_baseline" "$pageSet")
    row "gumbo (full parse)" "$build/bench/gumbo_baseline $pageSet" "$t" "$bytes"
fi

check_help=$("$cli" check --help 2>&1 || true)
if grep -q -- '--keyword' <<<"$check_help"; then
    check=("$cli" check "${files[@]}" --keyword "$keyword" --format json --output /dev/null)
    if grep -q -- '--jobs' <<<"$check_help"; then
        for jobs in 1 2; do
            t=$(best_time "${check[@]}" --jobs "$jobs")
            row "quorvel-cli check --jobs $jobs" \
                "quorvel-cli check $pageSet/* --keyword \"$keyword\" --format json --output /dev/null --jobs $jobs" \
                "$t" "$bytes"
        done
    else
        t=$(best_time "${check[@]}")
        row "quorvel-cli check" \
            "quorvel-cli check $pageSet/* --keyword \"$keyword\" --format json --output /dev/null" \
            "$t" "$bytes"
    fi
    echo
    echo "| files | format | jobs | peak RSS of quorvel-cli check |"
    echo "|---|---|---|---|"
    for format in text json; do
        for jobs in 1 2; do
            for count in 1000 10000; do
                rss=$(peak_rss_kb "$cli" check "$corpus/files-$count"/* --keyword "$keyword" \
                    --format "$format" --output /dev/null --jobs "$jobs")
                echo "| $count ($(awk -v b="$(bytes_of "$corpus/files-$count")" 'BEGIN { printf "%.0f MB", b / 1e6 }')) | $format | $jobs | $rss kB |"
            done
        done
    done

    # The main job: a project whose settings file lists the files.
    echo
    echo "| files | format | peak RSS of quorvel-cli run --jobs 1 |"
    echo "|---|---|---|"
    for count in 1000 10000; do
        settings="$corpus/bench-$count.hc"
        {
            printf '\r\n[Projects]\r\nCount=1\r\nItem1=Bench\r\nCurrent=Bench\r\n\r\n[Bench]\r\n'
            printf 'Folder=%s\r\nKeyCount=1\r\nKey1=%s\r\nCurrentKey=%s\r\nFileCount=%d\r\n' \
                "$corpus/files-$count" "$keyword" "$keyword" "$count"
            for i in $(seq 1 "$count"); do printf 'File%d=%05d.html\r\n' "$i" "$i"; done
        } >"$settings"
        for format in text json; do
            rss=$(peak_rss_kb "$cli" run --settings "$settings" --checker data/Quorvel.chk \
                --format "$format" --output /dev/null --jobs 1)
            echo "| $count | $format | $rss kB |"
        done
    done
else
    echo
    echo "(quorvel-cli check is not available in this build)"
fi

if [ -n "$scanner_bench" ]; then
    echo
    echo "Scanner benchmark ($scanner_bench, real pages from $pageSet):"
    echo '```'
    QUORVEL_BENCH_PAGES="$pageSet" "$build/bench/$scanner_bench" --benchmark_min_time=0.5 2>/dev/null | grep -E '^(BM_|Benchmark|---)' || true
    echo '```'
fi
