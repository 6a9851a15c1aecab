#!/usr/bin/env bash
# Fresh machine to first report: installs what is missing, builds, and runs
# quorvel-cli on the bundled example project (examples/example.hc, with the
# pages of examples/site and the checker file shipped with the program,
# data/Quorvel.chk, whose "Modern Web Search (2026)" engine it uses); the text
# report goes to standard output.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build/quorvel-cli run --settings examples/example.hc --checker data/Quorvel.chk
