#include "core/QtTranslation.h"

#include <QCoreApplication>
#include <QTest>

// Qt's own texts seen by users: the --help lines, standard buttons, file dialog labels.
class tst_QtTranslation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(zarnel::LoadQtTranslation(), "qtbase_ru.qm not found (Debian qt6-translations-l10n)");
    }

    void russianTexts_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("russian");
        QTest::newRow("--help") << "QCommandLineParser"
                                << "Displays help on commandline options."
                                << "Вывод справки по параметрам командной строки.";
        QTest::newRow("--version") << "QCommandLineParser"
                                   << "Displays version information."
                                   << "Показать сведения о версии.";
        QTest::newRow("Cancel button") << "QPlatformTheme"
                                       << "Cancel"
                                       << "Отмена";
        QTest::newRow("Save button") << "QPlatformTheme"
                                     << "Save"
                                     << "Сохранить";
        QTest::newRow("file dialog") << "QFileDialog"
                                     << "Look in:"
                                     << "Перейти к:";
    }
    void russianTexts()
    {
        QFETCH(QString, context);
        QFETCH(QString, english);
        QFETCH(QString, russian);
        QCOMPARE(QCoreApplication::translate(context.toLatin1().constData(), english.toLatin1().constData()), russian);
    }
};

QTEST_GUILESS_MAIN(tst_QtTranslation)
#include "tst_QtTranslation.moc"
