#include "windows/results/BatchCompare.h"

#include "components/DocxWriter.h"
#include "components/Form.h"
#include "core/DataSourceFile.h"
#include "core/Database.h"
#include "core/Formats.h"
#include "core/ObjectStore.h"
#include "core/Shared.h"
#include "report/ChartExport.h"
#include "windows/results/frmSravnenie.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace zarnel {

namespace {

const QString kCompare = QStringLiteral("compare");
const QString kKind = QStringLiteral("kind");
const QString kOut = QStringLiteral("out");

BatchReportOutcome Failed(int exitCode, const QString& message)
{
    return {exitCode, message};
}

bool WriteComparison(frmSravnenie& window, const QString& path, QString* error)
{
    const QImage picture = window.ctlChart1->renderImage();
    if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        if (picture.save(path, "PNG"))
            return true;
        *error = QStringLiteral("Не удалось сохранить рисунок: ") + path;
        return false;
    }
    DocxWriter document;
    if (!WriteChartDocument(document, picture, ComparisonCaption(window.comparison()))) {
        *error = QStringLiteral("Не удалось получить рисунок графика.");
        return false;
    }
    return document.save(path, error);
}

} // namespace

void AddBatchCompareOptions(QCommandLineParser& parser)
{
    parser.addOption({kCompare,
                      QStringLiteral("Без окон: сравнение объектов (имена через «;», от 2 до 6) в файл --out "
                                     "(.png, .docx или .pdf)."),
                      QStringLiteral("ИМЕНА")});
    parser.addOption({kKind,
                      QStringLiteral("Вид последствий для --compare: 0 гибель, 1 тяжелые, 2 легкие поражения, 4 "
                                     "санитарные потери, 3 ущерб."),
                      QStringLiteral("K")});
}

std::optional<int> RunBatchCompareIfRequested(const QCommandLineParser& parser)
{
    BatchReportOutcome outcome;
    if (!parser.isSet(kCompare)) {
        if (!parser.isSet(kKind))
            return std::nullopt;
        outcome = Failed(BatchReportUsage, QStringLiteral("Параметр --kind задается вместе с --compare."));
    } else if (parser.isSet(QStringLiteral("report"))) {
        outcome = Failed(BatchReportUsage, QStringLiteral("Параметры --compare и --report не задаются вместе."));
    } else {
        outcome = RunBatchCompare({parser.value(kCompare), parser.value(kKind), parser.value(kOut)});
    }
    if (!outcome.message.isEmpty())
        QTextStream(stderr) << outcome.message << Qt::endl;
    return outcome.exitCode;
}

BatchReportOutcome RunBatchCompare(const BatchCompareRequest& request)
{
    QStringList names;
    for (const QString& n : request.names.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!n.trimmed().isEmpty())
            names << n.trimmed();
    if (names.size() < MinCompared || names.size() > MaxCompared)
        return Failed(BatchReportUsage, QStringLiteral("Для сравнения нужно от %1 до %2 объектов: --compare "
                                                       "\"ИМЯ1;ИМЯ2\".")
                                            .arg(MinCompared)
                                            .arg(MaxCompared));
    const std::optional<qint16> kind = ToInt16(request.kind);
    if (!kind || *kind < 0 || *kind >= KindCount)
        return Failed(BatchReportUsage, QStringLiteral("Вид последствий --kind: 0, 1, 2, 4 или 3."));
    const QString& out = request.outFile;
    if (!out.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) &&
        !out.endsWith(QStringLiteral(".docx"), Qt::CaseInsensitive) &&
        !out.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return Failed(BatchReportUsage,
                      QStringLiteral("Не указан файл сравнения: --out ФАЙЛ.png, ФАЙЛ.docx или ФАЙЛ.pdf."));

    ConnectionString = DefaultConnectionString();
    if (!TryConnect(ConnectionString) && !ConnectWithDsn(ReadDataSourceName()))
        return Failed(BatchReportDbFailed,
                      QStringLiteral("Не возможно подключиться к базе данных, установите имя источника данных ODBC!"));

    try {
        Connection c;
        QVector<qint16> ids;
        for (const QString& name : names) {
            const std::optional<qint16> id = FindObjectByName(c, ObjectNameText(name));
            if (!id)
                return Failed(BatchReportNoObject, QStringLiteral("Объект \"%1\" не найден в базе данных.").arg(name));
            ids.append(*id);
        }
        const Comparison cmp = BuildComparison(c, ids, *kind);
        if (!cmp.anyHasKind())
            return Failed(BatchReportNoData, QStringLiteral("Ни у одного из объектов нет показателей этого вида."));

        // Drawn like in the window, but never shown.
        frmSravnenie* window = forms().get<frmSravnenie>();
        window->ShowComparison(cmp);
        QString error;
        const bool saved = WriteComparison(*window, out, &error);
        window->Unload();
        if (!saved)
            return Failed(BatchReportWriteFailed, error);
    } catch (const DbError& e) {
        return Failed(BatchReportDbFailed, QStringLiteral("Ошибка базы данных: ") + e.message);
    }
    return {};
}

} // namespace zarnel
