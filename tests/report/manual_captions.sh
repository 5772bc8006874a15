#!/usr/bin/env bash
# The program's own --report with and without --manual-captions: numbered captions by default, the placeholders
# for numbering by hand with the option, and the option does not outlive its run.
# usage: manual_captions.sh ZARNEL SEED_PROGRAM
set -euo pipefail
zarnel=$1 seed=$2
command -v pdftotext >/dev/null || { echo "pdftotext missing: skipped"; exit 77; }
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
"$seed" "$home" >/dev/null
object='Склад сжиженных углеводородных газов "Северный"'
report() { QT_QPA_PLATFORM=offscreen "$zarnel" --home "$home" --report "$object" --out "$home/$1.pdf" "${@:2}"; pdftotext "$home/$1.pdf" -; }

by_hand=$(report manual --manual-captions)
grep -q "^Таблица ___ - Аварийные сценарии" <<<"$by_hand" || { echo "no placeholder caption"; exit 1; }
! grep -q "Рисунок [0-9]* –" <<<"$by_hand" || { echo "numbered figure with --manual-captions"; exit 1; }

numbered=$(report numbered)
grep -q "^Таблица 1 – Аварийные сценарии" <<<"$numbered" || { echo "no numbered caption"; exit 1; }
grep -q "Рисунок 10 – " <<<"$numbered" || { echo "figures not numbered to 10"; exit 1; }
! grep -q "Таблица ___" <<<"$numbered" || { echo "placeholder without the option"; exit 1; }
test ! -e "$home/zarnel.ini" || ! grep -q manualCaptionNumbers=true "$home/zarnel.ini"
