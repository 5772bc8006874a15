#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed program as an unprivileged user with a
# fresh HOME: the database must land in that user's data folder, and a report of a seeded object must come out.
# usage: installed_program.sh BUILD_DIR SEED_PROGRAM
set -euo pipefail
build=$1 seed=$2
if [[ $(id -u) -ne 0 ]] || ! command -v runuser >/dev/null || ! id nobody >/dev/null 2>&1; then
    echo "needs root, runuser and the user nobody: skipped"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
prefix=$work/prefix home=$work/home
cmake --install "$build" --prefix "$prefix" >/dev/null
mkdir -p "$home" && chown nobody "$home"
install -m 755 "$seed" "$work/seed_demo"
as_user() { runuser -u nobody -- env -i HOME="$home" PATH=/usr/bin:/bin LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen "$@"; }

test -x "$prefix/bin/zarnel"
test -f "$prefix/share/applications/zarnel.desktop"
test -f "$prefix/share/icons/hicolor/scalable/apps/zarnel.svg"
test -f "$prefix/share/icons/hicolor/48x48/apps/zarnel.png"
test -f "$prefix/share/zarnel/Руководство оператора.docx"

# --help needs no display and speaks Russian (Qt's own lines too).
help=$(runuser -u nobody -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$prefix/bin/zarnel" --help)
grep -q "Вывод справки по параметрам командной строки" <<<"$help" || { echo "--help: $help"; exit 1; }
grep -q -- "--home <DIR>" <<<"$help"

object='Склад сжиженных углеводородных газов "Северный"'
data=$home/.local/share/zarnel
# First start: no object yet (exit 2), but the user's data folder and its database now exist.
set +e
as_user "$prefix/bin/zarnel" --report "$object" --out "$home/report.docx"
rc=$?
set -e
[[ $rc -eq 2 ]] || { echo "first start: exit $rc, expected 2 (no such object)"; exit 1; }
test -f "$data/dbRisk.sqlite" || { echo "no database in $data"; ls -laR "$home"; exit 1; }
[[ $(stat -c %U "$data/dbRisk.sqlite") == nobody ]]
if ls "$prefix/bin" | grep -qv '^zarnel$'; then
    echo "the program wrote beside its executable:"; ls -la "$prefix/bin"; exit 1
fi

as_user "$work/seed_demo" "$data"
as_user "$prefix/bin/zarnel" --report "$object" --out "$home/report.docx"
[[ $(head -c 2 "$home/report.docx") == PK ]] || { echo "report.docx is not a .docx"; exit 1; }

# --home and ZARNEL_HOME still choose the folder of an installed program.
as_user env ZARNEL_HOME="$home/env" "$prefix/bin/zarnel" --report "$object" --out "$home/r2.docx" && exit 1
test -f "$home/env/dbRisk.sqlite"
as_user "$prefix/bin/zarnel" --home "$home/opt" --report "$object" --out "$home/r3.docx" && exit 1
test -f "$home/opt/dbRisk.sqlite"
echo "installed program: data in $data, report written"
