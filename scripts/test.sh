#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-test -j"$(nproc)"
cd build-test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
