#include "windows/results/BatchExchange.h"

#include "core/ObjectStore.h"
#include "core/ScenarioExchange.h"
#include "report/ResultsWorkbook.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace zarnel {

namespace {

const QString kImport = QStringLiteral("import");
const QString kObject = QStringLiteral("object");
const QString kExportScenarios = QStringLiteral("export-scenarios");
const QString kExportResults = QStringLiteral("export-results");
const QString kOut = QStringLiteral("out");
const QString kPeople = QStringLiteral("people");

const QString kNoConnection =
    QStringLiteral("Не возможно подключиться к базе данных, установите имя источника данных ODBC!");

BatchReportOutcome usage(const QString& text)
{
    return {BatchReportUsage, text};
}

std::optional<qint16> peopleOf(const std::optional<QString>& people, bool* bad)
{
    *bad = false;
    if (!people)
        return std::nullopt;
    const auto n = ParsePeopleCount(*people);
    *bad = !n;
    return n;
}

const QString kBadPeople = QStringLiteral("Число людей в зоне риска должно быть целым числом от 0 до 32767!");

} // namespace

void AddBatchExchangeOptions(QCommandLineParser& parser)
{
    parser.addOption({kImport, QStringLiteral("Без окон: сценарии из файла (.xlsx, .ods, .csv) в объект --object."),
                      QStringLiteral("ФАЙЛ")});
    parser.addOption({kObject, QStringLiteral("Объект для --import (создается, если его нет)."),
                      QStringLiteral("ОБЪЕКТ")});
    parser.addOption({kExportScenarios, QStringLiteral("Без окон: сценарии объекта в файл --out (.xlsx или .csv)."),
                      QStringLiteral("ОБЪЕКТ")});
    parser.addOption({kExportResults, QStringLiteral("Без окон: результаты построения объекта в файл --out (.xlsx)."),
                      QStringLiteral("ОБЪЕКТ")});
}

std::optional<int> RunBatchExchangeIfRequested(const QCommandLineParser& parser)
{
    const auto people = parser.isSet(kPeople) ? std::optional<QString>(parser.value(kPeople)) : std::nullopt;
    BatchReportOutcome outcome;
    const int commands = int(parser.isSet(kImport)) + int(parser.isSet(kExportScenarios)) +
                         int(parser.isSet(kExportResults)) + int(parser.isSet(QStringLiteral("report")));
    if (commands == 0) {
        if (!parser.isSet(kObject))
            return std::nullopt;
        outcome = usage(QStringLiteral("Параметр --object задается вместе с --import."));
    } else if (commands > 1) {
        outcome = usage(QStringLiteral("Задайте одну команду: --report, --import, --export-scenarios или --export-results."));
    } else if (parser.isSet(kImport)) {
        outcome = parser.isSet(kOut) ? usage(QStringLiteral("Параметр --out не нужен для --import."))
                                     : RunBatchImport(parser.value(kImport), parser.value(kObject), people);
    } else if (parser.isSet(kExportScenarios)) {
        outcome = people ? usage(QStringLiteral("Параметр --people не нужен для --export-scenarios."))
                         : RunBatchScenarioExport(parser.value(kExportScenarios), parser.value(kOut));
    } else if (parser.isSet(kExportResults)) {
        outcome = RunBatchResultsExport(parser.value(kExportResults), parser.value(kOut), people);
    } else {
        return std::nullopt; // --report
    }
    if (!outcome.message.isEmpty())
        QTextStream(stderr) << outcome.message << Qt::endl;
    return outcome.exitCode;
}

BatchReportOutcome RunBatchImport(const QString& file, const QString& objectName, const std::optional<QString>& people)
{
    const QString name = ObjectNameText(objectName);
    if (file.isEmpty())
        return usage(QStringLiteral("Не указан файл: --import ФАЙЛ."));
    if (name.isEmpty())
        return usage(QStringLiteral("Не указано имя объекта: --object \"<имя объекта>\"."));
    bool badPeople = false;
    const std::optional<qint16> peopleCount = peopleOf(people, &badPeople);
    if (badPeople)
        return usage(kBadPeople);

    ImportPlan plan = PlanImportFile(file);
    if (!plan.error.isEmpty())
        return {BatchImportRefused, file + QStringLiteral(": ") + plan.error};
    if (!ConnectForBatch())
        return {BatchReportDbFailed, kNoConnection};
    try {
        Connection c;
        const std::optional<qint16> found = FindObjectByName(c, name);
        CheckAgainstObject(c, found.value_or(0), plan);
        if (!plan.error.isEmpty())
            return {BatchImportRefused, file + QStringLiteral(": ") + plan.error};
        if (plan.refused() > 0)
            return {BatchImportRefused, plan.problems().join(u'\n')};
        qint16 id = found.value_or(0);
        if (!found) {
            const auto created = CreateObject(c, name, peopleCount.value_or(0));
            if (!created)
                return {BatchReportDbFailed, QStringLiteral("В базе данных нет свободного номера объекта.")};
            id = *created;
        }
        try {
            // Existing classification numbers are replaced: the file is the newer state of the analysis.
            StoreImport(c, id, plan, true);
        } catch (const DbError&) {
            // Nothing of the file was stored: an object made for it goes again.
            if (!found)
                DeleteObject(c, id);
            throw;
        }
    } catch (const DbError& e) {
        return {BatchReportDbFailed, QStringLiteral("Ошибка базы данных: ") + e.message};
    }
    return {};
}

BatchReportOutcome RunBatchScenarioExport(const QString& objectName, const QString& outFile)
{
    if (outFile.isEmpty())
        return usage(QStringLiteral("Не указан файл: --out ФАЙЛ.xlsx или ФАЙЛ.csv."));
    if (!ConnectForBatch())
        return {BatchReportDbFailed, kNoConnection};
    try {
        Connection c;
        const std::optional<qint16> id = FindObjectByName(c, ObjectNameText(objectName));
        if (!id)
            return {BatchReportNoObject, QStringLiteral("Объект \"%1\" не найден в базе данных.").arg(objectName)};
        QString error;
        if (!WriteScenarioTable(outFile, ReadObjectEntries(c, *id), &error))
            return {BatchReportWriteFailed, outFile + QStringLiteral(": ") + error};
    } catch (const DbError& e) {
        return {BatchReportDbFailed, QStringLiteral("Ошибка базы данных: ") + e.message};
    }
    return {};
}

BatchReportOutcome RunBatchResultsExport(const QString& objectName, const QString& outFile,
                                         const std::optional<QString>& people)
{
    if (outFile.isEmpty())
        return usage(QStringLiteral("Не указан файл: --out ФАЙЛ.xlsx."));
    bool badPeople = false;
    const std::optional<qint16> peopleCount = peopleOf(people, &badPeople);
    if (badPeople)
        return usage(kBadPeople);
    if (!ConnectForBatch())
        return {BatchReportDbFailed, kNoConnection};
    try {
        Connection c;
        const BatchBuild built = BuildObjectForBatch(c, objectName, peopleCount);
        if (built.failure.exitCode != BatchReportDone)
            return built.failure;
        QString error;
        if (!WriteResultsWorkbook(outFile, built.result, built.peopleValue, &error))
            return {BatchReportWriteFailed, outFile + QStringLiteral(": ") + error};
    } catch (const DbError& e) {
        return {BatchReportDbFailed, QStringLiteral("Ошибка базы данных: ") + e.message};
    }
    return {};
}

} // namespace zarnel
