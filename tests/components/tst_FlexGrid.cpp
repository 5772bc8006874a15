#include "components/FlexGrid.h"

#include <QApplication>
#include <QTest>

using zarnel::FlexGrid;

namespace {

// The item delegate's own answer, exact and slow, to compare with.
struct MeasuredGrid : FlexGrid {
    using FlexGrid::sizeHintForRow;
};

// A name list as the results grids show it: "С0001, С0002, ...".
QString names(int count)
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list << QStringLiteral("С%1").arg(i, 4, 10, QLatin1Char('0'));
    return list.join(QStringLiteral(", "));
}

} // namespace

class tst_FlexGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Grown rows show every line of their texts (at least what the item delegate itself asks for), without
    // leaving much empty space below a long list.
    void rowsGrowToTheirTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("one line") << QStringLiteral("С0001");
        QTest::newRow("a few lines") << names(12);
        QTest::newRow("a header") << QStringLiteral("Частота событий (число случаев/год), в которых погибло ровно n человек");
        QTest::newRow("just measured exactly") << names(85).left(600);
        QTest::newRow("just sampled") << names(86).left(601);
        QTest::newRow("hundreds of names") << names(700);
        QTest::newRow("names of unequal length") << names(300) + QStringLiteral(", Резервуар РВС-5000 №12") + names(200);
    }
    void rowsGrowToTheirTexts()
    {
        QFETCH(QString, text);
        MeasuredGrid grid;
        grid.setRows(3);
        grid.setCols(3);
        for (int c = 0; c < 3; ++c)
            grid.setColWidth(c, 3600);
        grid.setTextMatrix(1, 1, text);
        grid.setTextMatrix(1, 0, QStringLiteral("1"));
        const int before = grid.rowHeight(1);

        grid.growRowsToTexts(1);

        const int exact = grid.sizeHintForRow(1);
        QVERIFY2(grid.rowHeight(1) >= exact, qPrintable(QStringLiteral("%1 < %2").arg(grid.rowHeight(1)).arg(exact)));
        QVERIFY2(grid.rowHeight(1) <= std::max(before, int(exact * 1.25) + 2 * grid.fontMetrics().lineSpacing()),
                 qPrintable(QStringLiteral("%1 for %2").arg(grid.rowHeight(1)).arg(exact)));
        QCOMPARE(grid.rowHeight(2), before); // an empty row keeps its height
    }

    void rowsNeverShrinkAndStartRowIsKept()
    {
        FlexGrid grid;
        grid.setRows(3);
        grid.setCols(2);
        grid.setTextMatrix(0, 1, names(200));
        grid.setTextMatrix(2, 1, QStringLiteral("С1"));
        grid.setRowHeight(2, 3000); // taller than its text wants
        const int header = grid.rowHeight(0);
        grid.growRowsToTexts(1);
        QCOMPARE(grid.rowHeight(0), header);
        QCOMPARE(grid.RowHeight(2), 3000);
    }
};

QTEST_MAIN(tst_FlexGrid)
#include "tst_FlexGrid.moc"
