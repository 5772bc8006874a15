// Header cells of the grids: every header is shown whole within its cell, wrapped at word boundaries,
// with a smaller font for the header row only where the grid's own font does not fit. Rows grown to their texts.

#include "components/FlexGrid.h"
#include "components/Twips.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QTest>

using namespace zarnel;

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
    void headersFitTheirCells_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");  // twips
        QTest::addColumn<int>("height"); // twips
        QTest::addColumn<qreal>("gridFont"); // points; 0 for the application's font
        // The header cells of the program's grids, with the sizes the windows give them.
        // clang-format off
        QTest::newRow("results, severe injuries") << "Число тяжело пораженных, n человек" << 1350 << 700 << 0.0;
        QTest::newRow("results, light injuries") << "Число легко пораженных, n человек" << 1350 << 700 << 0.0;
        QTest::newRow("results, sanitary losses") << "Число санитарных потерь, n человек" << 1350 << 1100 << 0.0;
        QTest::newRow("results, frequency at least")
            << "Частота событий (число случаев/год), в которых тяжело пораженных не менее n человек" << 2700 << 700
            << 0.0;
        QTest::newRow("results, damage scenarios") << "Аварийные сценарии с объемом ущерба не менее g млн.руб"
                                                   << 3300 << 700 << 0.0;
        QTest::newRow("indicator grid") << "Классификационный номер сценария" << 3700 << 900 << 0.0;
        QTest::newRow("scenario list, severe") << "Тяжело пораженные, чел." << 1700 << 500 << 8.0;
        QTest::newRow("scenario list, frequency") << "Частота события" << 1000 << 500 << 8.0;
        QTest::newRow("object list, people") << "Число рискующих" << 1100 << 500 << 0.0;
        QTest::newRow("a word wider than its column") << "Погибшие" << 700 << 500 << 0.0;
        // clang-format on
    }
    void headersFitTheirCells()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(qreal, gridFont);
        FlexGrid g;
        if (gridFont > 0) {
            QFont f = g.font();
            f.setPointSizeF(gridFont);
            g.setFont(f);
        }
        g.setCols(3);
        g.setColWidth(1, width);
        g.setRowHeight(0, height);
        g.setTextMatrix(0, 1, text);
        g.setTextMatrix(1, 1, text); // data cells keep the grid's font

        const QFont font = g.headerFont();
        const int margin = g.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &g) + 1;
        const QRect box(0, 0, g.columnWidth(1) - 2 * margin, g.rowHeight(0));
        const QRect needed = QFontMetrics(font).boundingRect(QRect(box.topLeft(), QSize(box.width(), 10000)),
                                                             Qt::TextWordWrap, text);
        QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(),
                 qPrintable(QStringLiteral("%1 pt needs %2×%3 px, the cell has %4×%5")
                                .arg(font.pointSizeF())
                                .arg(needed.width())
                                .arg(needed.height())
                                .arg(box.width())
                                .arg(box.height())));
        QVERIFY(font.pointSizeF() <= g.font().pointSizeF());
    }

    void headersThatFitKeepTheGridFont()
    {
        FlexGrid g;
        g.setCols(3);
        g.setColWidth(1, 3700);
        g.setColWidth(2, 3700);
        g.setRowHeight(0, 900);
        g.setTextMatrix(0, 1, QStringLiteral("Частота"));
        g.setTextMatrix(0, 2, QStringLiteral("Погибшие"));
        QCOMPARE(g.headerFont(), g.font());
        // One narrow column makes the whole row smaller; a hidden one does not count.
        g.setColWidth(2, 700);
        QVERIFY(g.headerFont().pointSizeF() < g.font().pointSizeF());
        g.setColWidth(2, 0);
        QCOMPARE(g.headerFont(), g.font());
    }

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
