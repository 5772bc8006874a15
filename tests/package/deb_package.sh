#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks its control data and contents.
# usage: deb_package.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
command -v dpkg-deb >/dev/null || { echo "dpkg-deb missing: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$source/data/zarnel.desktop"
else
    echo "desktop-file-validate missing (Debian desktop-file-utils): menu entry not validated"
fi

(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/zarnel_*_*.deb)
info=$(dpkg-deb -I "$deb")
echo "$info"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6sql6-sqlite libqt6sql6-odbc libqcustomplot2.1-qt6 libquazip1-qt6-1 \
    qt6-translations-l10n; do
    grep -q "\b$p\b" <<<"$depends" || { echo "Depends lacks $p"; exit 1; }
done
[[ $(dpkg-deb -f "$deb" Package) == zarnel ]]
[[ $(dpkg-deb -f "$deb" Version) == "$(sed -n 's/^#define ZARNEL_VERSION_TEXT "\(.*\)"/\1/p' "$build/src/generated/core/Version.h")" ]]
grep -q "Построение F/n" <<<"$info" || { echo "no Russian description"; exit 1; }
grep -q "Quantitative risk analysis" <<<"$info" || { echo "no English description"; exit 1; }

contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/zarnel ./usr/share/applications/zarnel.desktop ./usr/share/icons/hicolor/scalable/apps/zarnel.svg \
    ./usr/share/icons/hicolor/256x256/apps/zarnel.png "./usr/share/zarnel/Руководство оператора.docx"; do
    grep -qF " $f" <<<"$contents" || { echo "package lacks $f"; exit 1; }
done
echo "package: $(basename "$deb")"
