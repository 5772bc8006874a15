#!/usr/bin/env bash
# Installs the Debian packages the program needs (build, run; with --test also what the tests use),
# asking apt only for what is missing.
set -euo pipefail

packages=(g++ make cmake ninja-build pkg-config qt6-base-dev libqt6opengl6-dev libqcustomplot-dev
    libquazip1-qt6-dev libsqlite3-dev libqt6sql6-sqlite libqt6sql6-odbc unixodbc unixodbc-dev
    libsqliteodbc fonts-dejavu-core qt6-translations-l10n liborcus-dev libixion-dev libboost-dev)
if [[ "${1:-}" == "--test" ]]; then
    packages+=(libreoffice-writer-nogui poppler-utils xvfb xauth desktop-file-utils
        postgresql odbc-postgresql)
    # Only to make the spreadsheet fixtures anew (tests/core/exchange/make-fixtures.sh); they are committed.
    if [[ "${2:-}" == "--fixtures" ]]; then
        packages+=(libreoffice-calc-nogui python3-openpyxl)
    fi
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
