#!/usr/bin/env bash
# Writes the spreadsheet fixtures of tst_ScenarioExchange with programs other than Zarnel:
# LibreOffice Calc (soffice, package libreoffice-calc-nogui) and Python's openpyxl (python3-openpyxl, Debian's python3).
# The files are committed; run this only to make them anew.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A CSV as Russian Excel writes it, opened and saved by LibreOffice as .xlsx and .ods.
printf '%s\n' 'Классификационный номер;Наименование;Частота, 1/год;Погибшие, чел.;Тяжело пораженные, чел.;Легко пораженные, чел.;Санитарные потери, чел.;Ущерб, млн руб.' \
    'С-1;Разгерметизация емкости;1,5E-05;2;3;4;7;1,25' \
    'С-2;Пожар пролива;0,0002;;1;;1;0,5' \
    'С-3;;3E-07;5;;;;' >"$tmp/libreoffice.csv"
(cd "$tmp" && soffice --headless --infilter='CSV:59,34,76,1' --convert-to xlsx libreoffice.csv >/dev/null &&
    soffice --headless --infilter='CSV:59,34,76,1' --convert-to ods libreoffice.csv >/dev/null)
cp "$tmp/libreoffice.xlsx" libreoffice.xlsx
cp "$tmp/libreoffice.ods" libreoffice.ods

/usr/bin/python3 - <<'PY'
import openpyxl
# openpyxl writes absolute part targets (/xl/worksheets/sheet1.xml); alternative column names, thousand roubles.
wb = openpyxl.Workbook()
ws = wb.active
ws.title = "Сценарии"
ws.append(["Шифр", "Описание", "Частота", "Погибшие", "Тяжело пораженные", "Легко пораженные", "Ущерб, тыс. руб.",
           "Примечание"])
ws.append(["Р-1", "Взрыв ТВС", 2.5e-6, 1, None, None, 1500, "не импортируется"])
ws.append(["Р-2", "Огненный шар", 1e-5, None, 2, 6, None, None])
wb.save("openpyxl.xlsx")

# A title merged above the header, a formula for a frequency, and a data row with merged cells.
wb = openpyxl.Workbook()
ws = wb.active
ws.append(["Перечень сценариев"])
ws.merge_cells("A1:D1")
ws.append(["Классификационный номер", "Наименование", "Частота, 1/год", "Погибшие, чел."])
ws.append(["Ф-1", "Частота формулой", "=1/100000", 3])
ws.append(["Ф-2", "Объединенные", None, 1])
ws.merge_cells("B4:C4")
wb.save("formulas-raw.xlsx")
PY
# openpyxl stores no cached values: LibreOffice computes and keeps them.
mkdir -p "$tmp/lo"
soffice --headless --convert-to xlsx --outdir "$tmp/lo" formulas-raw.xlsx >/dev/null
mv "$tmp/lo/formulas-raw.xlsx" formulas.xlsx
rm formulas-raw.xlsx

# Windows-1251, ';', decimal commas, a quoted title with the delimiter, a quote and a line break.
printf '%s\r\n' 'Классификационный номер;Наименование;Частота, 1/год;Погибшие, чел.;Ущерб, млн руб.' \
    'К-1;"Выброс; ""облако""'$'\n''у стены";0,000015;1;2,5' \
    'К-2;Пожар;1,5E-05;;0' | iconv -f UTF-8 -t WINDOWS-1251 >cp1251.csv
