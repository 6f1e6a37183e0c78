#!/usr/bin/env bash
# Builds lecdl and shows it working.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
build/bin/lecdl --version
