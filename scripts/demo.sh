#!/usr/bin/env bash
# Fresh machine to first report: installs what is missing, builds, and opens
# the bundled example project (examples/example.hc, with the pages of
# examples/site and the rules of examples/Quorvel.chk). With a display
# ($DISPLAY or $WAYLAND_DISPLAY) the desktop program opens on it; without one
# quorvel-cli prints the text report to standard output.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/quorvel ]; then
    # The window saves its settings on closing: it works on a copy, so the
    # example in the repository stays as it is. The project folder
    # (examples/site) is relative to this folder.
    mkdir -p build/demo
    [ -f build/demo/example.hc ] || cp examples/example.hc build/demo/example.hc
    exec build/quorvel build/demo/example.hc
fi
build/quorvel-cli run --settings examples/example.hc --checker examples/Quorvel.chk
