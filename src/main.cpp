// Зарнель: F/n and F/g diagrams of a hazardous production object.

#include "components/Form.h"
#include "core/Database.h"
#include "core/DemoData.h"
#include "core/Formats.h"
#include "core/ProgramFolder.h"
#include "windows/results/BatchCompare.h"
#include "windows/results/BatchReport.h"
#include "windows/shell/Startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

namespace {

void fail(const QString& text)
{
    QTextStream(stderr) << text << Qt::endl;
}

} // namespace

int main(int argc, char** argv)
{
    zarnel::PrepareBatchReport(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Зарнель"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2").arg(ZARNEL_VERSION_MAJOR).arg(ZARNEL_VERSION_MINOR));
    zarnel::SetRussianLocale();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Построение F/n и F/g диаграмм опасного производственного объекта"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption home(QStringLiteral("home"), QStringLiteral("Папка программы (база данных, Data Source.txt)."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Запуск на новой копии учебной базы во временной папке."));
    parser.addOption(home);
    parser.addOption(demo);
    zarnel::AddBatchReportOptions(parser);
    zarnel::AddBatchCompareOptions(parser);
    parser.process(app);

    std::unique_ptr<QTemporaryDir> demoDir;
    if (parser.isSet(demo)) {
        demoDir = std::make_unique<QTemporaryDir>();
        zarnel::SetProgramFolder(demoDir->path());
        try {
            zarnel::Connection c(zarnel::DefaultConnectionString());
            zarnel::WriteDemoObject(c);
        } catch (const zarnel::DbError& e) {
            fail(QStringLiteral("Не удалось создать учебную базу: ") + e.message);
            return 1;
        }
    } else if (parser.isSet(home)) {
        if (!zarnel::SetProgramFolder(parser.value(home))) {
            fail(QStringLiteral("Не удалось создать папку программы: ") + parser.value(home));
            return 1;
        }
    }

    if (const std::optional<int> exitCode = zarnel::RunBatchCompareIfRequested(parser))
        return *exitCode;
    if (const std::optional<int> exitCode = zarnel::RunBatchReportIfRequested(parser))
        return *exitCode;

    zarnel::forms().onLastUnloaded = [] { QApplication::quit(); };
    QApplication::setQuitOnLastWindowClosed(false);
    zarnel::Main();
    return app.exec();
}
