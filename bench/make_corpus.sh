#!/usr/bin/env bash
# Builds a benchmark corpus of real HTML pages that nobody on this project
# wrote: the pages that Debian's documentation packages install.
#   bench/make_corpus.sh [OUT_DIR]     (default /tmp/quorvel-corpus)
# OUT_DIR/all holds every page (hard links where possible), OUT_DIR/files-1000
# and OUT_DIR/files-10000 hold subsets of exactly 1,000 and 10,000 files,
# repeating pages when fewer exist. Installs the packages when missing.
set -euo pipefail
out="${1:-/tmp/quorvel-corpus}"
packages=(python3.11-doc postgresql-doc-15 qtbase5-doc-html sqlite3-doc git-doc)

missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    available=()
    for p in "${missing[@]}"; do
        # Read the whole answer: grep -q would end the pipe early under pipefail.
        policy=$(apt-cache policy "$p")
        grep -q 'Candidate: [0-9]' <<<"$policy" && available+=("$p")
    done
    if [ ${#available[@]} -gt 0 ]; then
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "${available[@]}"
    fi
fi

rm -rf "$out"
mkdir -p "$out/all"
n=0
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || continue
    while IFS= read -r file; do
        # Only real files (no links into other packages), not empty.
        [ -f "$file" ] && [ ! -L "$file" ] && [ -s "$file" ] || continue
        n=$((n + 1))
        ln "$file" "$out/all/$(printf '%05d' "$n").html" 2>/dev/null ||
            cp "$file" "$out/all/$(printf '%05d' "$n").html"
    done < <(dpkg -L "$p" | grep -E '\.html?$' | sort)
done
[ "$n" -gt 0 ] || { echo "make_corpus: no HTML pages found" >&2; exit 1; }

# Subsets: the pages in order, repeated as often as needed.
for count in 1000 10000; do
    mkdir -p "$out/files-$count"
    for i in $(seq 1 "$count"); do
        source_number=$(( (i - 1) % n + 1 ))
        ln "$out/all/$(printf '%05d' "$source_number").html" \
            "$out/files-$count/$(printf '%05d' "$i").html"
    done
done
echo "$n pages in $out/all ($(du -sh "$out/all" | cut -f1));" \
    "files-1000: $(du -sh "$out/files-1000" --apparent-size | cut -f1)," \
    "files-10000: $(du -sh "$out/files-10000" --apparent-size | cut -f1)"
