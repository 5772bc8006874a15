#include "windows/results/ExcelOutput.h"

#include "components/Services.h"
#include "core/ObjectStore.h"
#include "core/Shared.h"
#include "report/DocumentFile.h"
#include "report/ResultsWorkbook.h"
#include "windows/results/frmOutput.h"

#include <QDir>
#include <QFileInfo>

namespace zarnel {

void ExcelExport_Click(frmOutput& f)
{
    const QString title = QStringLiteral("Внимание!!!");
    QString name;
    try {
        Connection c;
        const auto object = FindObject(c, CurrentObjectId);
        name = object ? object->name : QString();
    } catch (const DbError& e) {
        ShowDbError(e.message);
        return;
    }
    const QFileInfo document(ProposedDocumentPath(name + QStringLiteral(" - результаты")));
    QString path = fileDialogs().getSaveFileName(QStringLiteral("Экспорт результатов в Excel"),
                                                 document.path() + u'/' + document.completeBaseName() +
                                                     QStringLiteral(".xlsx"),
                                                 QStringLiteral("Книга Excel (*.xlsx)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(u"xlsx", Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".xlsx");
    QString error;
    if (!WriteResultsWorkbook(path, f.shownBuild(), f.shownPeople(), &error)) {
        MsgBox(QStringLiteral("Не удалось записать файл ") + QDir::toNativeSeparators(path) + QStringLiteral(": ") +
                   error,
               title, MsgIcon::Critical);
        return;
    }
    MsgBox(QStringLiteral("Результаты записаны в файл ") + QDir::toNativeSeparators(path), title,
           MsgIcon::Information);
}

} // namespace zarnel
