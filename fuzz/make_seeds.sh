#!/usr/bin/env bash
# Builds a seed folder for every fuzz target, outside the repository:
#   fuzz/make_seeds.sh BUILD_DIR OUT_DIR
# BUILD_DIR must hold fuzz/html5lib_seeds (any build with the fuzz folder).
# Seeds: the html5lib inputs of the shared bad-input corpus, the bundled
# example site, real pages of the benchmark corpus when it exists, and the
# committed regression inputs.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$1"
out="$2"
shared="${QUORVEL_SHARED_DIR:-$here/../../shared}"
corpus="$shared/corpus/html5lib-tests"
pages="${QUORVEL_BENCH_CORPUS:-/tmp/quorvel-corpus}/all"
tool="$build/fuzz/html5lib_seeds"

mkdir -p "$out"
for target in scanner_fuzz profile_file_fuzz check_message_fuzz html_colorizer_fuzz cli_args_fuzz; do
    mkdir -p "$out/$target"
    cp "$here/regressions/$target"/* "$out/$target/" 2>/dev/null || true
done

# A few real pages: the example site and up to 50 pages of the bench corpus.
real_pages=("$here"/../examples/site/*.html)
if [ -d "$pages" ]; then
    mapfile -t more < <(find "$pages" -name '*.html' -size -64k | sort | head -n 50)
    real_pages+=("${more[@]}")
fi

# Scanner inputs start with an options byte, a minWordLength byte and a
# keyword ending in NUL; give the pages a few different fronts.
prefixes=(
    '\x00\x00hiking boots\x00'
    '\x03\x03the\x00'
    '\x01\x00a\x00'
    '\x06\x02html element\x00'
)
if [ -d "$corpus" ]; then
    i=0
    for prefix in "${prefixes[@]}"; do
        printf "$prefix" >"$out/prefix"
        "$tool" "$corpus" "$out/h5-$i" "$out/prefix" >/dev/null
        # Spread the prefixes: each keeps a quarter of the inputs.
        find "$out/h5-$i" -type f | sort | awk -v n=${#prefixes[@]} -v k=$i 'NR % n == k' |
            xargs -r mv -t "$out/scanner_fuzz/"
        rm -rf "$out/h5-$i"
        i=$((i + 1))
    done
    rm -f "$out/prefix"
    "$tool" "$corpus" "$out/html_colorizer_fuzz" >/dev/null
else
    echo "make_seeds: no corpus at $corpus; using the committed seeds only" >&2
fi

n=0
for page in "${real_pages[@]}"; do
    [ -f "$page" ] || continue
    n=$((n + 1))
    { printf '\x00\x00hiking boots\x00'; cat "$page"; } >"$out/scanner_fuzz/page-$n"
    cp "$page" "$out/html_colorizer_fuzz/page-$n"
done

# Message templates and command lines.
printf 'Title is longer than %%1 characters (%%2)\x0070\x0085' >"$out/check_message_fuzz/title"
printf '%%1%%%%%%2%%\x00\x00' >"$out/check_message_fuzz/percents"
printf 'scan\x00page.html\x00--keyword\x00boots\x00--format\x00json' >"$out/cli_args_fuzz/scan-json"
printf 'run\x00--help' >"$out/cli_args_fuzz/run-help"
printf -- '--version' >"$out/cli_args_fuzz/version"
printf 'check\x00empty.html\x00--keyword\x00x\x00--jobs\x000' >"$out/cli_args_fuzz/jobs-zero"

for target in "$out"/*/; do
    echo "$(basename "$target"): $(find "$target" -type f | wc -l) seeds"
done
