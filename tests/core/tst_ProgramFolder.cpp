#include "core/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zarnel;

Q_DECLARE_METATYPE(zarnel::FolderSource)

class tst_ProgramFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choice_data()
    {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<FolderSource>("source");
        const QString user = QStringLiteral("/home/ivan/.local/share/zarnel");
        QTest::newRow("writable build folder") << ""
                                               << "" << true << false << "/opt/build/src" << FolderSource::Executable;
        QTest::newRow("read-only executable folder") << ""
                                                     << "" << false << false << user << FolderSource::UserData;
        QTest::newRow("installed, run by an ordinary user") << ""
                                                            << "" << false << true << user << FolderSource::UserData;
        QTest::newRow("installed, run as root: never beside /usr/bin")
            << ""
            << "" << true << true << user << FolderSource::UserData;
        QTest::newRow("ZARNEL_HOME over the executable folder")
            << ""
            << "/srv/risk" << true << false << "/srv/risk" << FolderSource::Environment;
        QTest::newRow("ZARNEL_HOME over the user folder")
            << ""
            << "/srv/risk/" << false << true << "/srv/risk" << FolderSource::Environment;
        QTest::newRow("--home over ZARNEL_HOME")
            << "/tmp/a/../b"
            << "/srv/risk" << true << false << "/tmp/b" << FolderSource::HomeOption;
        QTest::newRow("--home over the user folder") << "/tmp/b"
                                                     << "" << false << true << "/tmp/b" << FolderSource::HomeOption;
        QTest::newRow("relative --home is made absolute")
            << "risk"
            << "" << true << false << QDir::current().filePath("risk") << FolderSource::HomeOption;
    }
    void choice()
    {
        QFETCH(QString, home);
        QFETCH(QString, environment);
        QFETCH(bool, writable);
        QFETCH(bool, installed);
        QFETCH(QString, folder);
        QFETCH(FolderSource, source);
        FolderFacts facts;
        facts.homeOption = home;
        facts.environment = environment;
        facts.executableFolder = QStringLiteral("/opt/build/src");
        facts.executableFolderWritable = writable;
        facts.installed = installed;
        facts.userDataFolder = QStringLiteral("/home/ivan/.local/share/zarnel");
        const FolderChoice choice = ChooseProgramFolder(facts);
        QCOMPARE(choice.folder, folder);
        QCOMPARE(choice.source, source);
    }

    // The facts of this test process: it runs from the build folder, which is no installation.
    void factsOfABuild()
    {
        qunsetenv("ZARNEL_HOME");
        const FolderFacts facts = CurrentFolderFacts();
        QCOMPARE(facts.executableFolder, QCoreApplication::applicationDirPath());
        QVERIFY(!facts.installed);
        QVERIFY(facts.userDataFolder.endsWith(QCoreApplication::applicationName()));
    }

    void initCreatesTheChosenFolder()
    {
        QTemporaryDir tmp;
        const QString nested = tmp.filePath(QStringLiteral("Данные/риск"));
        QVERIFY(InitProgramFolder(nested));
        QVERIFY(QFileInfo(nested).isDir());
        QCOMPARE(ProgramFolder(), nested);
        QCOMPARE(ProgramFile(QStringLiteral("dbRisk.sqlite")), nested + QStringLiteral("/dbRisk.sqlite"));
        QCOMPARE(DocumentFolders().first(), nested);
        QVERIFY(DocumentFolders().contains(QCoreApplication::applicationDirPath()));

        qputenv("ZARNEL_HOME", tmp.filePath(QStringLiteral("env")).toUtf8());
        QVERIFY(InitProgramFolder(QString()));
        QCOMPARE(ProgramFolder(), tmp.filePath(QStringLiteral("env")));
        QVERIFY(QFileInfo(tmp.filePath(QStringLiteral("env"))).isDir());
        qunsetenv("ZARNEL_HOME");
    }

    void initReportsAFolderThatCannotBeCreated()
    {
        QTemporaryDir tmp;
        QFile file(tmp.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(InitProgramFolder(tmp.path()));
        QString failed;
        QVERIFY(!InitProgramFolder(file.fileName() + QStringLiteral("/sub"), &failed));
        QCOMPARE(failed, file.fileName() + QStringLiteral("/sub"));
        QCOMPARE(ProgramFolder(), tmp.path());
    }
};

QTEST_GUILESS_MAIN(tst_ProgramFolder)
#include "tst_ProgramFolder.moc"
