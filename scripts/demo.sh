#!/usr/bin/env bash
# Fresh machine to first report: installs what is missing, builds, and opens
# the bundled example project (examples/example.hc, with the pages of
# examples/site and the checker file shipped with the program,
# data/Quorvel.chk, whose "Modern Web Search (2026)" engine it uses). With a
# display ($DISPLAY or $WAYLAND_DISPLAY) the desktop program opens on it;
# without one quorvel-cli prints the text report to standard output.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/quorvel ]; then
    # The window saves its settings on closing: it works on a copy, so the
    # example in the repository stays as it is. The project folder
    # (examples/site) is relative to this folder. The program keeps its own
    # checker file next to it (build/Quorvel.chk), copied from
    # data/Quorvel.chk on its first start.
    mkdir -p build/demo
    [ -f build/demo/example.hc ] || cp examples/example.hc build/demo/example.hc
    exec build/quorvel build/demo/example.hc
fi
build/quorvel-cli run --settings examples/example.hc --checker data/Quorvel.chk
