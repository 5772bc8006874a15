// A data source chosen explicitly (--dsn, ZARNEL_DSN, the kept setting) is the only one the start-up tries:
// no embedded database appears beside the program, and a password never reaches the setting.

#include "core/TestHome.h"

#include "core/DataSourceFile.h"
#include "core/Shared.h"

#include <QFile>
#include <QTest>

using namespace zarnel;

namespace {
QStringList g_tried;
bool refuseAll(const QString& connectionString)
{
    g_tried << ConnectionStringValue(connectionString, QStringLiteral("Data Source"));
    return false;
}
} // namespace

class tst_ChosenDataSource : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<testing::TestHome>();
        g_tried.clear();
        SetConnectTester(refuseAll);
    }
    void cleanup()
    {
        SetConnectTester(nullptr);
        SetChosenDataSource({});
        qunsetenv("ZARNEL_DSN");
        m_home.reset();
    }

    void startTriesWhatIsChosen_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QStringList>("tried");
        const QStringList fallback = {"MS Access Database", "из файла"};
        QTest::newRow("nothing chosen: embedded, then Data Source.txt") << "" << "" << "" << fallback;
        QTest::newRow("option") << "отдел" << "" << "" << QStringList{"отдел"};
        QTest::newRow("option before environment") << "отдел" << "другой" << "третий" << QStringList{"отдел"};
        QTest::newRow("environment before setting") << "" << "другой" << "третий" << QStringList{"другой"};
        QTest::newRow("setting") << "" << "" << "третий" << QStringList{"третий"};
    }

    void startTriesWhatIsChosen()
    {
        QFETCH(QString, option);
        QFETCH(QString, environment);
        QFETCH(QString, setting);
        QFETCH(QStringList, tried);
        QVERIFY(WriteDataSourceName(QStringLiteral("из файла")));
        SetChosenDataSource(option);
        if (!environment.isEmpty())
            qputenv("ZARNEL_DSN", environment.toUtf8());
        if (!setting.isEmpty())
            QVERIFY(WriteChosenDataSource(setting));
        QVERIFY(!ConnectAtStart());
        QCOMPARE(g_tried, tried);
        QCOMPARE(QFile::exists(DatabaseFilePath()), false);
    }

    void passwordIsNeverKept()
    {
        QVERIFY(WriteChosenDataSource(QStringLiteral("отдел;UID=ivanov;PWD=секрет")));
        QCOMPARE(ChosenDataSource(), QStringLiteral("отдел;UID=ivanov"));
        QFile f(ChosenDataSourceFilePath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(!f.readAll().contains("секрет"));
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
};

QTEST_GUILESS_MAIN(tst_ChosenDataSource)
#include "tst_ChosenDataSource.moc"
