#include "core/Log.h"
#include "core/LogFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zarnel;

namespace {

QStringList received;

void capture(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    received << QString::fromLatin1(context.category ? context.category : "") + QLatin1Char('|') + text;
}

QString contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
}

Q_LOGGING_CATEGORY(lcOther, "other.module")
Q_LOGGING_CATEGORY(lcZarnelUi, "zarnel.ui")

} // namespace

class tst_LogFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        RemoveLogFile();
        qInstallMessageHandler(nullptr);
        received.clear();
    }

    void zarnelCategoriesGoToTheFileAndEverythingOnToStandardError()
    {
        QTemporaryDir dir;
        qInstallMessageHandler(capture);
        InstallLogFile(dir.path());
        qCWarning(lcDb).noquote() << "INSERT INTO tabScen (Id) VALUES (?)\nattempt to write a readonly database";
        qCInfo(lcZarnelUi) << "окно открыто";
        qCWarning(lcOther) << "not ours";
        qWarning("plain");

        const QStringList lines = contents(dir.filePath(QStringLiteral("zarnel.log"))).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].contains(QStringLiteral(" warning zarnel.db: INSERT INTO tabScen (Id) VALUES (?)")),
                 qPrintable(lines[0]));
        QCOMPARE(lines[1], QStringLiteral("attempt to write a readonly database"));
        QVERIFY2(lines[2].endsWith(QStringLiteral(" info zarnel.ui: окно открыто")), qPrintable(lines[2]));
        QVERIFY(!contents(dir.filePath(QStringLiteral("zarnel.log"))).contains(QStringLiteral("not ours")));
        QCOMPARE(received.size(), 4);
        QCOMPARE(received[2], QStringLiteral("other.module|not ours"));

        RemoveLogFile();
        qCWarning(lcDb) << "after";
        QCOMPARE(received.size(), 5);
        QVERIFY(!contents(dir.filePath(QStringLiteral("zarnel.log"))).contains(QStringLiteral("after")));
    }

    void rotatesAboveTheLimit()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zarnel.log"));
        LogFile log(path, 100);
        const QString a(60, 'a'), b(60, 'b'), c(60, 'c');
        log.write(a);
        QCOMPARE(contents(path), a + '\n');
        QVERIFY(!QFile::exists(path + ".1"));
        log.write(b);
        QCOMPARE(contents(path), b + '\n');
        QCOMPARE(contents(path + ".1"), a + '\n');
        log.write(c);
        QCOMPARE(contents(path), c + '\n');
        QCOMPARE(contents(path + ".1"), b + '\n');
        // A line longer than the limit is still written whole, into a fresh file.
        const QString big(150, 'd');
        log.write(big);
        QCOMPARE(contents(path), big + '\n');
        log.write(QStringLiteral("e"));
        QCOMPARE(contents(path), QStringLiteral("e\n"));
        QCOMPARE(contents(path + ".1"), big + '\n');
    }

    void aFolderThatCannotBeWrittenLosesNothingOnStandardError()
    {
        qInstallMessageHandler(capture);
        InstallLogFile(QStringLiteral("/nonexistent/zarnel"));
        qCWarning(lcDb) << "statement failed";
        QCOMPARE(received, QStringList({QStringLiteral("zarnel.db|statement failed")}));
    }
};

QTEST_GUILESS_MAIN(tst_LogFile)
#include "tst_LogFile.moc"
