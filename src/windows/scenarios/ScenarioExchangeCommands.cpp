#include "windows/scenarios/ScenarioExchangeCommands.h"

#include "components/Services.h"
#include "core/ObjectStore.h"
#include "core/ScenarioExchange.h"
#include "core/Shared.h"
#include "report/DocumentFile.h"
#include "windows/scenarios/frmBD_Scen.h"
#include "windows/scenarios/frmImport.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace zarnel {

namespace {

const QString kTitle = QStringLiteral("Внимание!!!");

// Checks the plan against the current object and shows it, or says why nothing can be imported.
void preview(ImportPlan plan, const QString& source)
{
    if (plan.error.isEmpty()) {
        try {
            Connection c;
            CheckAgainstObject(c, CurrentObjectId, plan);
        } catch (const DbError& e) {
            ShowDbError(e.message);
            return;
        }
    }
    if (!plan.error.isEmpty()) {
        MsgBox(plan.error, kTitle, MsgIcon::Exclamation);
        return;
    }
    frmImport* w = forms().get<frmImport>();
    w->Preview(plan, source);
    w->Show(true);
}

QString objectName()
{
    Connection c;
    const auto object = FindObject(c, CurrentObjectId);
    return object ? object->name : QStringLiteral("Сценарии");
}

} // namespace

void ConnectScenarioExchange(frmBD_Scen* f)
{
    QObject::connect(f->mnuImport, &QAction::triggered, f, [f] { mnuImport_Click(*f); });
    QObject::connect(f->mnuPaste, &QAction::triggered, f, [f] { mnuPaste_Click(*f); });
    QObject::connect(f->mnuExport, &QAction::triggered, f, [f] { mnuExport_Click(*f); });
    // Ctrl+V pastes while the list has the focus; the entry boxes keep their own Ctrl+V.
    f->mnuPaste->setShortcut(QKeySequence::Paste);
    f->mnuPaste->setShortcutContext(Qt::WidgetShortcut);
    f->Tabl_Name->addAction(f->mnuPaste);
}

void mnuImport_Click(frmBD_Scen&)
{
    const QString path = fileDialogs().getOpenFileName(
        QStringLiteral("Импорт сценариев"), QFileInfo(ProposedDocumentPath(QString())).absolutePath(),
        QStringLiteral("Таблицы (*.xlsx *.ods *.csv);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    preview(PlanImportFile(path), QStringLiteral("Файл: ") + QDir::toNativeSeparators(path));
}

void mnuPaste_Click(frmBD_Scen&)
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        MsgBox(QStringLiteral("В буфере обмена нет строк таблицы. Скопируйте строки сценариев в Excel или "
                              "LibreOffice Calc и повторите вставку."),
               kTitle, MsgIcon::Exclamation);
        return;
    }
    preview(PlanImportText(text), QStringLiteral("Из буфера обмена"));
}

void mnuExport_Click(frmBD_Scen&)
{
    try {
        const QFileInfo document(ProposedDocumentPath(objectName()));
        const QString proposed = document.path() + u'/' + document.completeBaseName() + QStringLiteral(".xlsx");
        QString path = fileDialogs().getSaveFileName(QStringLiteral("Экспорт сценариев"), proposed,
                                                     QStringLiteral("Книга Excel (*.xlsx);;Текст CSV (*.csv)"));
        if (path.isEmpty())
            return;
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix != u"xlsx" && suffix != u"csv")
            path += QStringLiteral(".xlsx");
        Connection c;
        QString error;
        if (!WriteScenarioTable(path, ReadObjectEntries(c, CurrentObjectId), &error)) {
            MsgBox(QStringLiteral("Не удалось записать файл ") + QDir::toNativeSeparators(path) +
                       QStringLiteral(": ") + error,
                   kTitle, MsgIcon::Critical);
            return;
        }
        MsgBox(QStringLiteral("Сценарии объекта записаны в файл ") + QDir::toNativeSeparators(path),
               kTitle, MsgIcon::Information);
    } catch (const DbError& e) {
        ShowDbError(e.message);
    }
}

} // namespace zarnel
