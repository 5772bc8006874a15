#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it. Extra arguments go to the program
# (for example --demo, or --home DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target zarnel
exec build/src/zarnel "$@"
