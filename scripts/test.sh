#!/usr/bin/env bash
# Installs what is missing, builds everything (warnings are errors) and runs all tests headless.
# In CI (CI=true) the Debian package is also built, installed with apt and started from /usr/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
# The server variants of the database tests run against a throw-away cluster, stopped however the run ends.
source scripts/test-server.sh
trap stop_test_server EXIT
start_test_server
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZARNEL_WERROR=ON >/dev/null
cmake --build build-test -j"$(nproc)"
cd build-test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"

if [[ "${CI:-}" == "true" ]]; then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    rm -f zarnel_*.deb
    cpack -G DEB >/dev/null
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends ./zarnel_*.deb
    help=$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/zarnel --help)
    echo "$help"
    grep -q "Вывод справки" <<<"$help" || { echo "zarnel --help is not in Russian"; exit 1; }
fi
