#!/usr/bin/env bash
# Fresh machine to first report: installs what is missing, builds, and runs
# quorvel-cli on the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build/quorvel-cli scan examples/site/index.html --keyword "hiking boots"
