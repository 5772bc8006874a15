#pragma once
// The scenario editor's menu "Обмен": "Импорт сценариев...", "Вставить из буфера" (also Ctrl+V in the list) and
// "Экспорт сценариев...". The reading, checking and writing live in core/ScenarioExchange.

class QString;

namespace zarnel {

class frmBD_Scen;

void ConnectScenarioExchange(frmBD_Scen* f);

void mnuImport_Click(frmBD_Scen& f);
void mnuPaste_Click(frmBD_Scen& f);
void mnuExport_Click(frmBD_Scen& f);

} // namespace zarnel
