// Exchange without windows: refused inputs change nothing and name their rows; the results workbook holds the
// numbers of the same build the results window shows.

#include "TestHome.h"
#include "core/DataSourceFile.h"
#include "components/Form.h"
#include "core/Database.h"
#include "core/DemoData.h"
#include "core/ScenarioExchange.h"
#include "core/Shared.h"
#include "core/SpreadsheetFile.h"
#include "gui/Scripted.h"
#include "report/ResultsWorkbook.h"
#include "risk/Kinds.h"
#include "windows/results/BatchExchange.h"
#include "windows/results/frmOutput.h"

#include <QFile>
#include <QTest>

using namespace zarnel;
using testing::dumpTable;

namespace {

QString fixture(const QString& name)
{
    return QStringLiteral(ZARNEL_EXCHANGE_FIXTURES "/") + name;
}

QStringList database()
{
    return dumpTable("tabObjekt") + dumpTable("tabScen") + dumpTable("tabRisk");
}

double numberAt(const SheetData& d, int row, int col)
{
    const SheetCell c = d.rows.value(row).value(col);
    return c.kind == SheetCell::Number ? c.number : qQNaN();
}

QString textAt(const SheetData& d, int row, int col)
{
    return d.rows.value(row).value(col).text;
}

} // namespace

class tst_BatchExchange : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<testing::TestHome>();
        // The commands connect as the program starts; on the server as with --dsn.
        if (testing::onServer())
            SetChosenDataSource(testing::serverDataSource());
        testing::object("Склад", 10).scenario("С1", 1e-3).kills(2);
    }
    void cleanup()
    {
        SetChosenDataSource({});
        testing::resetWindows();
        m_home.reset();
    }

    void refusedInputChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // written to name; empty name: a fixture
        QTest::addColumn<QString>("fixtureFile");
        QTest::addColumn<QString>("reason");
        const QByteArray header = "Классификационный номер;Частота, 1/год;Погибшие, чел.\n";
        QTest::newRow("a picture renamed .xlsx")
            << "picture.xlsx" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << QString()
            << "Файл не является таблицей Excel (.xlsx), LibreOffice (.ods) или CSV (.csv).";
        QTest::newRow("an empty file") << "empty.csv" << QByteArray() << QString() << "Файл пуст.";
        QTest::newRow("no classification-number column")
            << "columns.csv" << QByteArray("Название;Частота\nС1;1E-5\n") << QString()
            << "В таблице нет строки заголовков со столбцом «Классификационный номер» (или «Шифр», «Номер»).";
        QTest::newRow("header only") << "header.csv" << header << QString() << "В таблице нет строк сценариев.";
        QByteArray big = header;
        for (int i = 1; i <= 100000; ++i)
            big += "С" + QByteArray::number(i) + ";1E-5;1\n";
        QTest::newRow("100 000 rows") << "big.csv" << big << QString()
                                      << "В таблице 100000 строк сценариев, а у объекта может быть не более 32767 "
                                         "сценариев.";
        QTest::newRow("text in a number column, frequency 0 and abc, negative and fractional people")
            << "rows.csv"
            << header + "Н1;1E-5;двое\nН2;0;1\nН3;abc;1\nН4;1E-5;-1\nН5;1E-5;1,5\nН6;1E-5;1\n" << QString()
            << "Строка 2: Число людей (гибель, чел.) должно быть целым числом от 0 до 1000000!\n"
               "Строка 3: Частота события должна быть от 1,000E-50 до 1000000 событий в год!\n"
               "Строка 4: Частота события должна быть от 1,000E-50 до 1000000 событий в год!\n"
               "Строка 5: Число людей (гибель, чел.) должно быть целым числом от 0 до 1000000!\n"
               "Строка 6: Число людей (гибель, чел.) должно быть целым числом от 0 до 1000000!";
        QTest::newRow("a duplicate classification number in the file")
            << "dup.csv" << header + "Д1;1E-5;1\nД2;1E-5;1\nд1;2E-5;1\n" << QString()
            << "Строка 4: Классификационный номер д1 уже есть в строке 2.";
        QTest::newRow("merged cells (formulas give their cached values)")
            << QString() << QByteArray() << "formulas.xlsx" << "Строка 4: Строка содержит объединенные ячейки.";
        // An encrypted workbook is an OLE container, whatever its name.
        QTest::newRow("a password-protected workbook")
            << "protected.xlsx" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0')
            << QString()
            << "Файл защищен паролем или сохранен в формате Excel 97-2003 (.xls). Снимите пароль или сохраните "
               "таблицу в формате .xlsx и повторите импорт.";
    }
    void refusedInputChangesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fixtureFile);
        QFETCH(QString, reason);
        QString path = fixture(fixtureFile);
        if (fixtureFile.isEmpty()) {
            path = m_home->path() + u'/' + name;
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        for (const QString& object : {QStringLiteral("Склад"), QStringLiteral("Новый объект")}) {
            const QStringList before = database();
            const BatchReportOutcome outcome = RunBatchImport(path, object, std::nullopt);
            QCOMPARE(outcome.exitCode, BatchImportRefused);
            QVERIFY2(outcome.message.endsWith(reason), qPrintable(outcome.message));
            QCOMPARE(database(), before);
        }
    }

    void importCreatesTheObjectWithItsPeople()
    {
        const BatchReportOutcome outcome =
            RunBatchImport(fixture("libreoffice.ods"), QStringLiteral("Резервуарный парк"), QStringLiteral("25"));
        QCOMPARE(outcome.message, QString());
        QCOMPARE(outcome.exitCode, int(BatchReportDone));
        QCOMPARE(testing::countRows("select * from tabObjekt where Name='Резервуарный парк' and People=25"), 1);
        QCOMPARE(testing::countRows("select * from tabScen where Id_obj=2"), 3);
    }

    void resultsWorkbookHoldsTheBuildsTables()
    {
        auto obj = testing::object("Цех", 100);
        obj.scenario("А", 1e-4).kills(1).severe(2).light(1).sanitary(3).damage(0.5);
        obj.scenario("Б", 2e-5).kills(3).severe(2).sanitary(2).damage(2);
        obj.scenario("В", 5e-6).kills(1).light(4).sanitary(4);
        const QString path = m_home->path() + QStringLiteral("/results.xlsx");
        QCOMPARE(RunBatchResultsExport(QStringLiteral("Цех"), path, std::nullopt).message, QString());

        Connection c;
        const BatchBuild built = BuildObjectForBatch(c, QStringLiteral("Цех"), std::nullopt);
        frmOutput* window = forms().get<frmOutput>();
        int sheets = 0;
        for (int kind : ProcessingOrder) {
            const KindResult& r = built.result.kinds[kind];
            QVERIFY(r.ran);
            // Named as the window's page of the kind.
            QCOMPARE(ResultsSheetName(kind), window->SSTab2->tabText(KindInfoOf(kind).outerPage));
            const SheetRead read = ReadSpreadsheetFile(path, ResultsSheetName(kind));
            QVERIFY2(read.data, qPrintable(read.error));
            const SheetData& d = *read.data;
            QCOMPARE(textAt(d, 0, 0), r.table.text(0, 0));
            // Ascending values; the at-least frequencies fall as the value grows.
            QCOMPARE(d.rows.size() - 1, r.distinctCount());
            for (int i = 0; i < r.distinctCount(); ++i) {
                const QPointF exact = r.polygonCurve[i];
                QCOMPARE(numberAt(d, i + 1, 0), exact.x());
                QCOMPARE(numberAt(d, i + 1, 1), exact.y());
                if (i > 0)
                    QVERIFY(numberAt(d, i + 1, 2) < numberAt(d, i, 2));
            }
            ++sheets;
        }
        QCOMPARE(sheets, 5);

        // Fatalities: n = 1 (А, В) and 3 (Б), from the result table of the build.
        const SheetData fat = *ReadSpreadsheetFile(path, ResultsSheetName(KindFatalities)).data;
        QCOMPARE(textAt(fat, 1, 3), QStringLiteral("А, В"));
        QCOMPARE(numberAt(fat, 1, 1), 1e-4 + 5e-6);
        QCOMPARE(numberAt(fat, 1, 2), 1e-4 + 2e-5 + 5e-6);
        QCOMPARE(textAt(fat, 2, 3), QStringLiteral("Б"));

        const SheetData ind = *ReadSpreadsheetFile(path, QStringLiteral("Показатели")).data;
        QCOMPARE(textAt(ind, 1, 0), QStringLiteral("СМЕРТЕЛЬНЫЕ ПОРАЖЕНИЯ"));
        QCOMPARE(numberAt(ind, 1, 1), built.result.kinds[KindFatalities].riskSum);
        QCOMPARE(numberAt(ind, 1, 2), built.result.kinds[KindFatalities].riskSum / 100);
        QCOMPARE(textAt(ind, 5, 0), QStringLiteral("УЩЕРБ"));
        QCOMPARE(numberAt(ind, 5, 3), built.result.kinds[KindDamage].riskSum);
    }

    void exportOfAMissingObjectIsRefused()
    {
        const QString path = m_home->path() + QStringLiteral("/x.csv");
        QCOMPARE(RunBatchScenarioExport(QStringLiteral("Нет такого"), path).exitCode, int(BatchReportNoObject));
        QVERIFY(!QFile::exists(path));
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
};

QTEST_MAIN(tst_BatchExchange)
#include "tst_BatchExchange.moc"
