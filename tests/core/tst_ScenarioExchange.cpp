// Scenario exchange: files written by other programs, round trips through the program's own files, pasted
// cells, and the one-transaction store.

#include "core/TestHome.h"

#include "core/DelimitedText.h"
#include "core/ScenarioExchange.h"
#include "core/ScenarioStore.h"

#include <QLocale>
#include <QTest>

using namespace zarnel;
using testing::dumpTable;

namespace {

QString fixture(const QString& name)
{
    return QStringLiteral(ZARNEL_EXCHANGE_FIXTURES "/") + name;
}

// Shortest text that reads back as the same Double: equal texts mean equal numbers.
QString exact(double v)
{
    return QLocale::c().toString(v, 'g', QLocale::FloatingPointShortest);
}

QString optionalText(const std::optional<double>& v)
{
    return v ? exact(*v) : QStringLiteral("-");
}

// "name|title|frequency|fatalities|severe|light|damage", numbers exact.
QString rowText(const ScenarioEntry& e)
{
    QStringList p{e.name, e.title, exact(e.risk)};
    for (const auto& v : e.indicators)
        p << optionalText(v);
    return p.join(u'|');
}

QStringList rowsOf(const QVector<ScenarioEntry>& entries)
{
    QStringList out;
    for (const ScenarioEntry& e : entries)
        out << rowText(e);
    return out;
}

QStringList rowsOf(const ImportPlan& plan)
{
    QStringList out;
    for (const ImportRow& r : plan.rows)
        out << rowText(r.entry);
    return out;
}

int g_insertsBeforeFailure = -1;
void failAfterInserts(const QString& sql)
{
    if (sql.startsWith(QLatin1String("INSERT")) && g_insertsBeforeFailure-- == 0)
        throw DbError(QStringLiteral("сбой записи"), sql);
}

} // namespace

class tst_ScenarioExchange : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup()
    {
        SetExecHook(nullptr);
        m_home.reset();
    }

    void filesOfOtherPrograms_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("rows");
        const QStringList libreoffice{QStringLiteral("С-1|Разгерметизация емкости|1.5e-05|2|3|4|1.25"),
                                      QStringLiteral("С-2|Пожар пролива|2e-04|-|1|-|0.5"),
                                      QStringLiteral("С-3||3e-07|5|-|-|-")};
        QTest::newRow("LibreOffice .xlsx from a CSV") << "libreoffice.xlsx" << libreoffice;
        QTest::newRow("LibreOffice .ods from a CSV") << "libreoffice.ods" << libreoffice;
        // Absolute part targets and inline strings; alternative headers; damage in thousand roubles.
        QTest::newRow("openpyxl")
            << "openpyxl.xlsx"
            << QStringList{QStringLiteral("Р-1|Взрыв ТВС|2.5e-06|1|-|-|1.5"),
                           QStringLiteral("Р-2|Огненный шар|1e-05|-|2|6|-")};
        QTest::newRow("Windows-1251, semicolons, decimal commas, quoted line break")
            << "cp1251.csv"
            << QStringList{QStringLiteral("К-1|Выброс; \"облако\"\nу стены|1.5e-05|1|-|-|2.5"),
                           QStringLiteral("К-2|Пожар|1.5e-05|-|-|-|0")};
    }
    void filesOfOtherPrograms()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, rows);
        const ImportPlan plan = PlanImportFile(fixture(file));
        QCOMPARE(plan.error, QString());
        QCOMPARE(plan.problems(), QStringList());
        QCOMPARE(rowsOf(plan), rows);
    }

    void formulaGivesItsCachedValueAndMergedRowIsRefused()
    {
        const ImportPlan plan = PlanImportFile(fixture("formulas.xlsx"));
        QCOMPARE(plan.error, QString());
        QCOMPARE(plan.rows.size(), 2);
        QCOMPARE(rowText(plan.rows[0].entry), QStringLiteral("Ф-1|Частота формулой|1e-05|3|-|-|-"));
        QCOMPARE(plan.problems(), QStringList{QStringLiteral("Строка 4: Строка содержит объединенные ячейки.")});
    }

    void exportedFileImportsBackUnchanged_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("xlsx") << "xlsx";
        QTest::newRow("csv") << "csv";
    }
    void exportedFileImportsBackUnchanged()
    {
        QFETCH(QString, suffix);
        auto source = testing::object("Источник");
        source.scenario("С;1 \"кавычки\"", 1.2345678901234567e-7, "Строка 1\nстрока 2").kills(3).severe(2).damage(0.125);
        source.scenario("С2", 3e-5).light(7);
        source.scenario("С10", 0.5, "Только ущерб").damage(1234.567);
        Connection c;
        const QVector<ScenarioEntry> before = ReadObjectEntries(c, source.id());
        const QString path = m_home->path() + QStringLiteral("/export.") + suffix;
        QString error;
        QVERIFY2(WriteScenarioTable(path, before, &error), qPrintable(error));

        ImportPlan plan = PlanImportFile(path);
        QCOMPARE(plan.error, QString());
        QCOMPARE(plan.problems(), QStringList());
        const qint16 target = testing::object("Приемник").id();
        CheckAgainstObject(c, target, plan);
        QCOMPARE(StoreImport(c, target, plan, false).added, 3);
        QCOMPARE(rowsOf(ReadObjectEntries(c, target)), rowsOf(before));
        // Kind 4 is made again from severe + light.
        QCOMPARE(testing::indicatorsOf(target, 1), QStringLiteral("0=3 1=2 3=0.125 4=2"));
    }

    void pastedCells_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("without the header row, columns in the export order")
            << QStringLiteral("С1\tПожар; пролив\t1,5E-05\t2\t1\t\t1\t0,5\r\nС2\t\t0,0001\t\t\t3\t3\t\r\n");
        QTest::newRow("with the header row, other order")
            << QStringLiteral("Частота\tШифр\tЛегко пораженные\tПогибшие\tТяжело пораженные\tУщерб, тыс. руб.\t"
                              "Наименование\n1.5e-5\tС1\t\t2\t1\t500\tПожар; пролив\n1E-4\tС2\t3\t\t\t\t\n");
    }
    void pastedCells()
    {
        QFETCH(QString, text);
        const ImportPlan plan = PlanImportText(text);
        QCOMPARE(plan.error, QString());
        QCOMPARE(plan.problems(), QStringList());
        QCOMPARE(rowsOf(plan), (QStringList{QStringLiteral("С1|Пожар; пролив|1.5e-05|2|1|-|0.5"),
                                            QStringLiteral("С2||1e-04|-|-|3|-")}));
    }

    void rowsAreRefusedWithTheEditorsReasons_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("problem");
        QTest::newRow("frequency 0") << "С1;0;1;;"
                                     << "Строка 2: Частота события должна быть от 1,000E-50 до 1000000 событий в год!";
        QTest::newRow("frequency abc") << "С1;abc;1;;" << "Строка 2: Частота события должна быть от 1,000E-50 до "
                                                          "1000000 событий в год!";
        QTest::newRow("text in a people column")
            << "С1;1E-5;много;;" << "Строка 2: Число людей (гибель, чел.) должно быть целым числом от 0 до 1000000!";
        QTest::newRow("negative people") << "С1;1E-5;;-1;"
                                         << "Строка 2: Число людей (тяжелые поражения, чел.) должно быть целым числом "
                                            "от 0 до 1000000!";
        QTest::newRow("fractional people") << "С1;1E-5;2,5;;"
                                           << "Строка 2: Число людей (гибель, чел.) должно быть целым числом от 0 до "
                                              "1000000!";
        QTest::newRow("sanitary losses not the sum")
            << "С1;1E-5;;2;5" << "Строка 2: Санитарные потери (5) должны быть равны сумме тяжело и легко пораженных (2).";
        QTest::newRow("no classification number")
            << ";1E-5;1;;" << "Строка 2: Не введен классификационный номер сценария!";
    }
    void rowsAreRefusedWithTheEditorsReasons()
    {
        QFETCH(QString, row);
        QFETCH(QString, problem);
        const QString text = QStringLiteral("Номер;Частота;Погибшие;Тяжело пораженные;Санитарные потери, чел.\n") + row +
                             QStringLiteral("\nС9;1E-5;1;;\n");
        const ImportPlan plan = PlanImport(ParseDelimited(text, u';'));
        QCOMPARE(plan.problems(), QStringList{problem});
    }

    void duplicateInTheFileNamesTheFirstRow()
    {
        const ImportPlan plan =
            PlanImportText(QStringLiteral("Номер\tЧастота\nС1\t1E-5\nс1\t2E-5\n"));
        QCOMPARE(plan.problems(),
                 QStringList{QStringLiteral("Строка 3: Классификационный номер с1 уже есть в строке 2.")});
    }

    void existingNumbersAreReplacedOrSkipped_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QString>("kept");
        QTest::newRow("заменить") << true << "0=5";
        QTest::newRow("пропустить") << false << "1=2 4=2";
    }
    void existingNumbersAreReplacedOrSkipped()
    {
        QFETCH(bool, replace);
        QFETCH(QString, kept);
        auto obj = testing::object("Склад").scenario("С1", 1e-3).severe(2).sanitary(2);
        ImportPlan plan = PlanImportText(QStringLiteral("с1\t\t1E-5\t5\nС2\t\t2E-5\t1\n"));
        Connection c;
        CheckAgainstObject(c, obj.id(), plan);
        QCOMPARE(plan.existing(), 1);
        const SaveScenariosOutcome saved = StoreImport(c, obj.id(), plan, replace);
        QCOMPARE(saved.added, 1);
        QCOMPARE(saved.replaced + saved.skipped, 1);
        QCOMPARE(testing::indicatorsOf(obj.id(), 1), kept);
        QCOMPARE(testing::countRows("select * from tabScen"), 2);
    }

    void failureHalfWayStoresNothing()
    {
        auto obj = testing::object("Склад").scenario("С1", 1e-3).kills(1);
        const QStringList scen = dumpTable("tabScen");
        const QStringList risk = dumpTable("tabRisk");
        ImportPlan plan = PlanImportText(QStringLiteral("С2\t\t1E-5\t5\nС3\t\t2E-5\t1\nС4\t\t2E-5\t1\n"));
        Connection c;
        CheckAgainstObject(c, obj.id(), plan);
        g_insertsBeforeFailure = 4;
        SetExecHook(failAfterInserts);
        QVERIFY_THROWS_EXCEPTION(DbError, StoreImport(c, obj.id(), plan, true));
        SetExecHook(nullptr);
        QCOMPARE(dumpTable("tabScen"), scen);
        QCOMPARE(dumpTable("tabRisk"), risk);
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
};

QTEST_GUILESS_MAIN(tst_ScenarioExchange)
#include "tst_ScenarioExchange.moc"
