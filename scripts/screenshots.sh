#!/usr/bin/env bash
# Renders every page of the desktop program, opened on the bundled example
# project after a run, into docs/screenshots/ (offscreen, no display needed).
# SCALE=2 renders at twice the size, as on a high-density screen.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build -j "$(nproc)" --target quorvel_screenshots >/dev/null
QT_QPA_PLATFORM=offscreen QT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu \
    QT_SCALE_FACTOR="${SCALE:-1}" build/src/app/quorvel_screenshots "${1:-docs/screenshots}" 2>/dev/null
ls "${1:-docs/screenshots}"
