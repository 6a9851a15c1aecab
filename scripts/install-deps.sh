#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing need, when missing.
set -euo pipefail
packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
    libcurl4-openssl-dev openssl python3)
# The desktop program: Qt 6 Widgets and SVG, GIO for the default applications,
# and a font so that offscreen window tests and screenshots show text.
if [ "${QUORVEL_GUI:-1}" = 1 ]; then
    packages+=(qt6-base-dev qt6-svg-dev libglib2.0-dev fonts-dejavu-core)
fi
# The sanitizer stage of CI builds the fuzz targets with clang and libFuzzer.
if [ "${QUORVEL_WITH_FUZZ:-0}" = 1 ] || [ "${CI:-}" = true ]; then
    packages+=(clang libclang-rt-14-dev)
fi
# The crash tests walk the dumps with Breakpad's minidump_stackwalk, which the
# npm package "minidump" ships prebuilt; npm comes from Debian unless a Node.js
# installation already brings it.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# Only the prebuilt tools are used, so the package's build step is skipped.
minidump_version=0.26.0
tools="$(cd "$(dirname "$0")/.." && pwd)/.cache/npm"
if [ ! -x "$tools/node_modules/minidump/bin/linux-x64/minidump_stackwalk" ]; then
    mkdir -p "$tools"
    npm install --prefix "$tools" --ignore-scripts --no-audit --no-fund --no-save \
        "minidump@$minidump_version" >/dev/null
fi
