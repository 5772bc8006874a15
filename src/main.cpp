// Зарнель: F/n and F/g diagrams of a hazardous production object.

#include "components/Form.h"
#include "core/DataSourceFile.h"
#include "core/Database.h"
#include "core/DemoData.h"
#include "core/Formats.h"
#include "core/LogFile.h"
#include "core/ProgramFolder.h"
#include "core/QtTranslation.h"
#include "core/Version.h"
#include "windows/results/BatchExchange.h"
#include "windows/results/BatchCompare.h"
#include "core/ReportOptions.h"
#include "windows/results/BatchReport.h"
#include "windows/shell/Startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstring>
#include <memory>

namespace {

void fail(const QString& text)
{
    QTextStream(stderr) << text << Qt::endl;
}

// --help and --version print and exit: they must work without a display (a terminal over ssh, a package check).
void PrepareTextOnlyOptions(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
                return;
            }
}

} // namespace

int main(int argc, char** argv)
{
    PrepareTextOnlyOptions(argc, argv);
    zarnel::PrepareBatchReport(argc, argv);
    QApplication app(argc, argv);
    // The technical name: it names the user's data folder (~/.local/share/zarnel) and the menu entry.
    QApplication::setApplicationName(QStringLiteral("zarnel"));
    QApplication::setApplicationVersion(QStringLiteral(ZARNEL_VERSION_TEXT));
    QGuiApplication::setDesktopFileName(QStringLiteral("zarnel"));
    QIcon icon;
    for (const int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/zarnel-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    zarnel::SetRussianLocale();
    zarnel::LoadQtTranslation();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Построение F/n и F/g диаграмм опасного производственного объекта"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption home(QStringLiteral("home"), QStringLiteral("Папка программы (база данных, Data Source.txt)."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Запуск на новой копии учебной базы во временной папке."));
    const QCommandLineOption dsn(QStringLiteral("dsn"),
                                 QStringLiteral("Работать с источником данных ODBC NAME (например, базой отдела на "
                                                "сервере); встроенная база данных не создается. Так же действует "
                                                "переменная ZARNEL_DSN."),
                                 QStringLiteral("NAME"));
    parser.addOption(home);
    parser.addOption(demo);
    parser.addOption(dsn);
    const QCommandLineOption manualCaptions(
        QStringLiteral("manual-captions"),
        QStringLiteral("Подписи таблиц и рисунков для нумерации вручную («Таблица ___ - », «Рис. ____ - ») в "
                       "отчете и рисунках этого запуска."));
    parser.addOption(manualCaptions);
    zarnel::AddBatchReportOptions(parser);
    zarnel::AddBatchExchangeOptions(parser);
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
            fail(QStringLiteral("Не удалось создать учебную базу. ") + zarnel::DbFailureText(e.cause));
            return 1;
        }
    } else {
        QString folder;
        if (!zarnel::InitProgramFolder(parser.value(home), &folder)) {
            fail(QStringLiteral("Не удалось создать папку программы: ") + folder);
            return 1;
        }
    }
    zarnel::InstallLogFile(zarnel::ProgramFolder());
    if (parser.isSet(dsn))
        zarnel::SetChosenDataSource(parser.value(dsn));
    if (parser.isSet(manualCaptions))
        zarnel::SetManualCaptionNumbers(true, false); // for this run only

    if (const std::optional<int> exitCode = zarnel::RunBatchExchangeIfRequested(parser))
        return *exitCode;
    if (const std::optional<int> exitCode = zarnel::RunBatchCompareIfRequested(parser))
        return *exitCode;
    if (const std::optional<int> exitCode = zarnel::RunBatchReportIfRequested(parser))
        return *exitCode;

    zarnel::forms().onLastUnloaded = [] { QApplication::quit(); };
    QApplication::setQuitOnLastWindowClosed(false);
    zarnel::Main();
    return app.exec();
}
