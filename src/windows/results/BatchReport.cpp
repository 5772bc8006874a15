#include "windows/results/BatchReport.h"

#include "components/Form.h"
#include "core/DataSourceFile.h"
#include "core/Database.h"
#include "core/ObjectStore.h"
#include "core/Shared.h"
#include "report/WordReport.h"
#include "risk/Build.h"
#include "windows/results/WordOutput.h"
#include "windows/results/frmOutput.h"
#include "windows/scenarios/FillIndicatorGrids.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QTextStream>

#include <algorithm>
#include <cstring>

namespace zarnel {

namespace {

const QString kReport = QStringLiteral("report");
const QString kOut = QStringLiteral("out");
const QString kPeople = QStringLiteral("people");
const QString kCriteria = QStringLiteral("criteria");

BatchReportOutcome Failed(int exitCode, const QString& message)
{
    return {exitCode, message};
}

// The same connection the program starts with.
bool Connect()
{
    return ConnectAtStart();
}

} // namespace

bool ConnectForBatch()
{
    return Connect();
}

void PrepareBatchReport(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"--report", "--import", "--export-scenarios", "--export-results", "--compare", "--kind"}) {
            const size_t n = std::strlen(option);
            if (std::strncmp(argv[i], option, n) != 0 || (argv[i][n] != 0 && argv[i][n] != '='))
                continue;
            qputenv("QT_QPA_PLATFORM", "offscreen");
            // A script reads stderr as the report's failure: Qt's own notes (a missing XDG_RUNTIME_DIR, fonts)
            // stay out of it; critical and fatal ones still come through.
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
                if (type == QtCriticalMsg || type == QtFatalMsg)
                    QTextStream(stderr) << text << Qt::endl;
            });
            return;
        }
}

void AddBatchReportOptions(QCommandLineParser& parser)
{
    parser.addOption(
        {kReport, QStringLiteral("Без окон: отчет по объекту с этим именем в файл --out."), QStringLiteral("ОБЪЕКТ")});
    parser.addOption({kOut, QStringLiteral("Файл отчета (.docx или .pdf) для --report, файл для --export-scenarios и --export-results."), QStringLiteral("ФАЙЛ")});
    parser.addOption({kCriteria,
                      QStringLiteral("Критерии приемлемости для --report (названия через «;») вместо выбранных у "
                                     "объекта."),
                      QStringLiteral("НАЗВАНИЯ")});
    parser.addOption(
        {kPeople, QStringLiteral("Число рискующих для --report, --export-results и --import вместо заданного у объекта."), QStringLiteral("N")});
}

std::optional<int> RunBatchReportIfRequested(const QCommandLineParser& parser)
{
    BatchReportOutcome outcome;
    if (!parser.isSet(kReport)) {
        if (!parser.isSet(kOut) && !parser.isSet(kPeople) && !parser.isSet(kCriteria))
            return std::nullopt;
        outcome = Failed(BatchReportUsage,
                         QStringLiteral("Параметры --out, --people и --criteria задаются вместе с --report."));
    } else {
        BatchReportRequest request{parser.value(kReport), parser.value(kOut), std::nullopt};
        if (parser.isSet(kPeople))
            request.people = parser.value(kPeople);
        if (parser.isSet(kCriteria))
            request.criteria = parser.value(kCriteria);
        outcome = RunBatchReport(request);
    }
    if (!outcome.message.isEmpty())
        QTextStream(stderr) << outcome.message << Qt::endl;
    return outcome.exitCode;
}

BatchBuild BuildObjectForBatch(Connection& c, const QString& objectName, std::optional<qint16> peopleOverride)
{
    BatchBuild b;
    const std::optional<qint16> id = FindObjectByName(c, ObjectNameText(objectName));
    if (!id) {
        b.failure = Failed(BatchReportNoObject, QStringLiteral("Объект \"%1\" не найден в базе данных.").arg(objectName));
        return b;
    }
    b.objectId = *id;
    const QVector<StoredObject> objects = ListObjects(c);
    const auto stored =
        std::find_if(objects.begin(), objects.end(), [&](const StoredObject& o) { return o.id == *id; });
    const qint16 people = peopleOverride ? *peopleOverride : stored != objects.end() ? stored->people : 0;

    // What the indicator window would show: a kind's grid is there when the kind has rows.
    BuildInput input;
    input.peopleText = QString::number(people);
    input.directBuild = true; // nobody to ask about a missing number of people
    for (int kind = 0; kind < 4; ++kind)
        input.inputGridVisible[kind] = !ReadIndicatorGridRows(c, *id, kind, InitialSortPair()).isEmpty();
    const EntryCheck check = CheckEntry(input);
    if (check.outcome != EntryCheck::Proceed) {
        b.failure = Failed(BatchReportNoData, check.message.text);
        return b;
    }
    b.peopleValue = check.peopleValue;

    CurrentObjectId = *id;
    b.result = BuildAll(c, *id, input.inputGridVisible, check.peopleValue);
    if (!b.result.ok)
        b.failure = Failed(BatchReportDbFailed, b.result.error.text);
    else if (std::none_of(b.result.pageAvailable.begin(), b.result.pageAvailable.end(), [](bool on) { return on; }))
        b.failure = Failed(BatchReportNoData,
                           QStringLiteral("Построение диаграмм не возможно! Не введен ни один показатель!"));
    return b;
}

BatchReportOutcome RunBatchReport(const BatchReportRequest& request)
{
    if (request.objectName.trimmed().isEmpty())
        return Failed(BatchReportUsage, QStringLiteral("Не указано имя объекта: --report \"<имя объекта>\"."));
    if (request.outFile.isEmpty())
        return Failed(BatchReportUsage, QStringLiteral("Не указан файл отчета: --out ФАЙЛ.docx."));
    std::optional<qint16> peopleOverride;
    if (request.people) {
        peopleOverride = ParsePeopleCount(*request.people);
        if (!peopleOverride)
            return Failed(BatchReportUsage,
                          QStringLiteral("Число людей в зоне риска должно быть целым числом от 0 до 32767!"));
    }
    if (!Connect())
        return Failed(BatchReportDbFailed,
                      QStringLiteral("Не возможно подключиться к базе данных, установите имя источника данных ODBC!"));

    try {
        Connection c;
        BatchBuild built = BuildObjectForBatch(c, request.objectName, peopleOverride);
        if (built.failure.exitCode != BatchReportDone)
            return built.failure;
        const qint16* id = &built.objectId;
        BuildResult& result = built.result;
        std::optional<QStringList> criteria;
        if (request.criteria)
            criteria = request.criteria->split(QLatin1Char(';'), Qt::SkipEmptyParts);
        try {
            JudgeCriteria(c, *id, result, result.peopleValue, criteria);
        } catch (const std::invalid_argument& e) {
            return Failed(BatchReportUsage,
                          QStringLiteral("Критерий «%1» не найден в базе данных.").arg(QString::fromStdString(e.what())));
        }

        const std::optional<ReportObject> object = ReadReportObject(c, *id);
        if (!object)
            return Failed(BatchReportNoObject,
                          QStringLiteral("Объект \"%1\" не найден в базе данных.").arg(request.objectName));

        WriteReportLog(c, QDateTime::currentDateTime());
        // Filled like after a build in the windows, but never shown.
        frmOutput* output = forms().get<frmOutput>();
        output->ShowBuild(result);
        QString error;
        const bool saved = SaveReport(request.outFile, *object, PeopleAtRisk, ResultsViewOf(*output), &error);
        output->Unload();
        if (!saved)
            return Failed(BatchReportWriteFailed, error);
    } catch (const DbError& e) {
        return Failed(BatchReportDbFailed, DbFailureText(e.cause));
    }
    return {};
}

} // namespace zarnel
