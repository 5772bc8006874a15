// Time of the scenario exchange at 5000 scenarios on an embedded database on disk: export to .xlsx, then import of
// that file (read, checked, stored in one transaction) into a new object. Prints
// "rows=N export_seconds=S import_seconds=S" with the median of several runs.

#include "core/Database.h"
#include "core/ObjectStore.h"
#include "core/ProgramFolder.h"
#include "core/ScenarioExchange.h"
#include "core/Shared.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

using namespace zarnel;

namespace {

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    constexpr int rows = 5000;
    constexpr int runs = 5;
    QTemporaryDir dir;
    SetProgramFolder(dir.path());
    ConnectionString = DefaultConnectionString();

    Connection c;
    const qint16 source = *CreateObject(c, QStringLiteral("Источник"), 100);
    QVector<ScenarioEntry> entries;
    for (int i = 1; i <= rows; ++i) {
        ScenarioEntry e;
        e.name = QStringLiteral("С-%1").arg(i);
        e.title = QStringLiteral("Сценарий аварии номер %1 на площадке").arg(i);
        e.risk = 1e-6 * (i % 97 + 1);
        e.indicators = {double(i % 13), double(i % 7), i % 3 ? std::optional<double>(i % 11) : std::nullopt,
                        0.001 * (i % 1000)};
        entries.append(e);
    }
    SaveScenarios(c, source, entries, false);

    const QString file = dir.filePath(QStringLiteral("scenarios.xlsx"));
    QVector<double> exportTimes, importTimes;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        QString error;
        if (!WriteScenarioTable(file, ReadObjectEntries(c, source), &error)) {
            QTextStream(stderr) << error << Qt::endl;
            return 1;
        }
        exportTimes.append(t.nsecsElapsed() / 1e9);

        const qint16 target = *CreateObject(c, QStringLiteral("Приемник %1").arg(run), 0);
        t.restart();
        ImportPlan plan = PlanImportFile(file);
        CheckAgainstObject(c, target, plan);
        if (!plan.error.isEmpty() || plan.refused() != 0 || plan.rows.size() != rows) {
            QTextStream(stderr) << "import refused: " << plan.error << plan.problems().join(u'\n') << Qt::endl;
            return 1;
        }
        StoreImport(c, target, plan, false);
        importTimes.append(t.nsecsElapsed() / 1e9);
    }
    QTextStream(stdout) << "rows=" << rows << " export_seconds=" << median(exportTimes)
                        << " import_seconds=" << median(importTimes) << Qt::endl;
    return 0;
}
