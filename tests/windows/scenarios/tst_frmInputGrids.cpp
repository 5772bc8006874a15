// The indicator grids of frmInput: contents per kind, the six orders of the sort menu, the empty state
// and refills that touch one grid only.

#include "core/TestHome.h"
#include "gui/Scripted.h"

#include "components/Twips.h"
#include "core/Shared.h"
#include "windows/scenarios/FillIndicatorGrids.h"
#include "windows/scenarios/frmInput.h"

#include <QTest>

using namespace zarnel;

namespace {

// "name value" for every data row of a grid.
QStringList rowsOf(const FlexGrid* g)
{
    QStringList out;
    for (int r = 1; r < g->Rows(); ++r)
        out << g->TextMatrix(r, 0) + ' ' + g->TextMatrix(r, 2);
    return out;
}

// Names and frequencies chosen so that the orders by name, by frequency and by value all differ;
// С10 has two damage rows.
qint16 sortFixture()
{
    auto obj = testing::object("Склад", 120);
    obj.scenario("С2", 3e-4, "Разгерметизация").kills(5).damage(2.5);
    obj.scenario("С10", 1e-5).kills(1).damage(0.75).damage(4);
    obj.scenario("а1", 2e-3).kills(3).severe(2).sanitary(2);
    obj.scenario("Б7", 5e-6).damage(1.25);
    testing::object("Цех").scenario("Ч1", 1e-3).kills(50).damage(9);
    return obj.id();
}

} // namespace

class tst_frmInputGrids : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup()
    {
        testing::resetWindows();
        m_home.reset();
    }

    void initialOrderByClassificationNumber_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QStringList>("rows");
        // Scenario order lists a scenario once, with its first row of the kind.
        QTest::newRow("fatalities") << 0 << "Число погибших, n человек"
                                    << QStringList{"а1|2,000E-03|3", "С2|3,000E-04|5", "С10|1,000E-05|1"};
        QTest::newRow("severe") << 1 << "Число тяжело пораженных, n человек" << QStringList{"а1|2,000E-03|2"};
        QTest::newRow("damage") << 3 << "Ущерб, g млн.руб"
                                << QStringList{"Б7|0,500E-05|1,25", "С2|3,000E-04|2,5", "С10|1,000E-05|0,75"};
    }
    void initialOrderByClassificationNumber()
    {
        QFETCH(int, kind);
        QFETCH(QString, header);
        QFETCH(QStringList, rows);
        CurrentObjectId = sortFixture();
        FlexGrid* g = forms().get<frmInput>()->grid(kind);

        QStringList shown;
        for (int r = 1; r < g->Rows(); ++r)
            shown << QStringList{g->TextMatrix(r, 0), g->TextMatrix(r, 1), g->TextMatrix(r, 2)}.join('|');
        QCOMPARE(shown, rows);
        QCOMPARE(g->Cols(), 3);
        QCOMPARE(g->TextMatrix(0, 0), QStringLiteral("Классификационный номер сценария"));
        QCOMPARE(g->TextMatrix(0, 1), QStringLiteral("Частота событий"));
        QCOMPARE(g->TextMatrix(0, 2), header);
        const int widths[3] = {3700, 1700, 2700};
        for (int c = 0; c < 3; ++c)
            QVERIFY2(qAbs(g->ColWidth(c) - widths[c]) <= 15, qPrintable(QString::number(c)));
        QCOMPARE(g->rowHeight(0), TwipsToPixelsY(900));
        QVERIFY(!g->isHidden());
    }

    void sortMenu_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("item");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("fatalities, value ascending") << 0 << 1 << QStringList{"С10 1", "а1 3", "С2 5"};
        QTest::newRow("fatalities, value descending") << 0 << 2 << QStringList{"С2 5", "а1 3", "С10 1"};
        QTest::newRow("fatalities, frequency ascending") << 0 << 3 << QStringList{"С10 1", "С2 5", "а1 3"};
        QTest::newRow("fatalities, frequency descending") << 0 << 4 << QStringList{"а1 3", "С2 5", "С10 1"};
        QTest::newRow("fatalities, name ascending") << 0 << 5 << QStringList{"а1 3", "С2 5", "С10 1"};
        QTest::newRow("fatalities, name descending") << 0 << 6 << QStringList{"С10 1", "С2 5", "а1 3"};
        // By value every damage row is listed, so С10 appears twice.
        QTest::newRow("damage, value ascending") << 3 << 1 << QStringList{"С10 0,75", "Б7 1,25", "С2 2,5", "С10 4"};
        QTest::newRow("damage, value descending") << 3 << 2 << QStringList{"С10 4", "С2 2,5", "Б7 1,25", "С10 0,75"};
        QTest::newRow("damage, frequency ascending") << 3 << 3 << QStringList{"Б7 1,25", "С10 0,75", "С2 2,5"};
        QTest::newRow("damage, frequency descending") << 3 << 4 << QStringList{"С2 2,5", "С10 0,75", "Б7 1,25"};
        QTest::newRow("damage, name ascending") << 3 << 5 << QStringList{"Б7 1,25", "С2 2,5", "С10 0,75"};
        QTest::newRow("damage, name descending") << 3 << 6 << QStringList{"С10 0,75", "С2 2,5", "Б7 1,25"};
    }
    void sortMenu()
    {
        QFETCH(int, page);
        QFETCH(int, item);
        QFETCH(QStringList, rows);
        CurrentObjectId = sortFixture();
        frmInput* f = forms().get<frmInput>();
        QStringList before[4];
        for (int k = 0; k < 4; ++k)
            before[k] = rowsOf(f->grid(k));

        f->SSTab1->setCurrentIndex(page);
        QAction* items[6] = {f->mnuUpor1, f->mnuUpor2, f->mnuUpor3, f->mnuUpor4, f->mnuUpor5, f->mnuUpor6};
        items[item - 1]->trigger();

        QCOMPARE(rowsOf(f->grid(page)), rows);
        for (int k = 0; k < 4; ++k) {
            if (k != page)
                QCOMPARE(rowsOf(f->grid(k)), before[k]);
        }
        // The order belongs to the page: refilling every grid keeps it.
        f->refillGrids(true, true, true, true);
        QCOMPARE(rowsOf(f->grid(page)), rows);
    }

    void kindWithoutIndicatorsHidesItsGrid()
    {
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).kills(2);
        CurrentObjectId = obj.id();
        frmInput* f = forms().get<frmInput>();

        for (int kind : {1, 2, 3}) {
            FlexGrid* g = f->grid(kind);
            QVERIFY(g->isHidden());
            QCOMPARE(g->Rows(), 2);
            QCOMPARE(g->TextMatrix(1, 0), QString());
            QVERIFY(!f->noIndicatorsLabel(kind)->isHidden());
            QVERIFY(!f->clearButton(kind)->isEnabled());
        }
        QVERIFY(!f->grid(0)->isHidden());
    }

    void refillEmptiesRowsLeftFromBefore()
    {
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).kills(2).scenario("С2", 1e-5).kills(3);
        CurrentObjectId = obj.id();
        frmInput* f = forms().get<frmInput>();
        QCOMPARE(f->tabPokaz->Rows(), 3);

        Connection().exec("DELETE FROM tabRisk");
        f->refillGrids(true, false, false, false);
        QCOMPARE(f->tabPokaz->Rows(), 2);
        QCOMPARE(f->tabPokaz->TextMatrix(1, 2), QString());
        QVERIFY(f->tabPokaz->isHidden());
    }

    void refillOfOneKindLeavesTheOthers()
    {
        CurrentObjectId = sortFixture();
        frmInput* f = forms().get<frmInput>();
        for (int k : {0, 2, 3}) {
            f->grid(k)->setTextMatrix(1, 0, "метка");
            f->clearButton(k)->setEnabled(true);
        }
        f->clearButton(1)->setEnabled(true);
        testing::ObjectBuilder(CurrentObjectId).scenario("Д1", 1e-6).severe(4);

        const SortPair p = InitialSortPair();
        FillIndicatorGrids(p, p, p, p, false, true, false, false);

        QCOMPARE(rowsOf(f->tabPokaz_m), (QStringList{"а1 2", "Д1 4"}));
        QVERIFY(!f->Command3->isEnabled());
        for (int k : {0, 2, 3}) {
            QCOMPARE(f->grid(k)->TextMatrix(1, 0), QStringLiteral("метка"));
            QVERIFY(f->clearButton(k)->isEnabled());
        }
    }

    void indicatorWithoutScenarioIsLeftOut()
    {
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).damage(2);
        Connection().exec("INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) VALUES (?, 77, 3, 5)", {obj.id()});
        CurrentObjectId = obj.id();

        Connection c;
        const auto rows = ReadIndicatorGridRows(c, obj.id(), 3, {QString(), " order by Number desc"});
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].name, QStringLiteral("С1"));
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
};

QTEST_MAIN(tst_frmInputGrids)
#include "tst_frmInputGrids.moc"
