// The scenario list of the editor: columns, colours, "нет", row heights and the empty state.

#include "core/TestHome.h"
#include "gui/Scripted.h"

#include "components/Twips.h"
#include "core/Shared.h"
#include "windows/scenarios/FillScenarioList.h"
#include "windows/scenarios/frmBD_Scen.h"

#include <QTest>

using namespace zarnel;

class tst_frmBD_Scen_List : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup()
    {
        testing::resetWindows();
        m_home.reset();
    }

    void rowsFollowClassificationOrder()
    {
        auto obj = testing::object("Склад")
                       .scenario("С10", 0.3, "Взрыв")
                       .scenario("С2", 1.25e-5)
                       .scenario("а1", 0)
                       .scenario("Б1", 7);
        testing::object("Цех").scenario("Ч1", 1e-3);
        CurrentObjectId = obj.id();
        FillScenarioList();
        FlexGrid* g = forms().find<frmBD_Scen>()->Tabl_Name;

        QCOMPARE(g->Rows(), 5);
        QStringList names, ids, titles, freqs;
        for (int r = 1; r < g->Rows(); ++r) {
            ids << g->TextMatrix(r, 0);
            names << g->TextMatrix(r, 1);
            titles << g->TextMatrix(r, 2);
            freqs << g->TextMatrix(r, 3);
        }
        // Letter case ignored, numbers in names compared as a reader does.
        QCOMPARE(names, (QStringList{"а1", "Б1", "С2", "С10"}));
        QCOMPARE(ids, (QStringList{"3", "4", "2", "1"}));
        QCOMPARE(titles, (QStringList{"", "", "", "Взрыв"}));
        QCOMPARE(freqs, (QStringList{"", "7,000", "1,250E-05", "3,000E-01"}));

        const QStringList headers{"",
                                  "Классификационный номер",
                                  "Название",
                                  "Частота события",
                                  "Погибшие, чел.",
                                  "Тяжело пораженные, чел.",
                                  "Легко пораженные, чел.",
                                  "Ущерб, млн.руб"};
        const QList<int> widths{0, 2000, 4500, 1000, 1200, 1700, 1700, 1200};
        for (int c = 0; c < 8; ++c) {
            QCOMPARE(g->TextMatrix(0, c), headers[c]);
            QVERIFY2(qAbs(g->ColWidth(c) - widths[c]) <= 15, qPrintable(QString::number(c)));
        }
        QCOMPARE(g->rowHeight(0), TwipsToPixelsY(500));
        QVERIFY(!g->isHidden());
    }

    void valueCellsInKindColours_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("fatalities") << 0 << 3.0 << "3" << QColor(255, 0, 0);
        QTest::newRow("severe") << 1 << 12.0 << "12" << QColor(0, 0, 255);
        QTest::newRow("light") << 2 << 1.0 << "1" << QColor(0, 192, 0);
        QTest::newRow("damage") << 3 << 0.125 << "0,125" << QColor(255, 0, 255);
    }
    void valueCellsInKindColours()
    {
        QFETCH(int, kind);
        QFETCH(double, number);
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        auto obj = testing::object("Склад").scenario("С1", 1e-4).indicator(kind, number).sanitary(99);
        CurrentObjectId = obj.id();
        FillScenarioList();
        FlexGrid* g = forms().find<frmBD_Scen>()->Tabl_Name;
        for (int k = 0; k < 4; ++k) {
            if (k == kind) {
                QCOMPARE(g->TextMatrix(1, 4 + k), text);
                QCOMPARE(g->cellForeColor(1, 4 + k), colour);
            } else {
                QCOMPARE(g->TextMatrix(1, 4 + k), QStringLiteral("нет"));
                QCOMPARE(g->cellForeColor(1, 4 + k), QColor(Qt::black));
            }
        }
    }

    void firstOfSeveralRowsOfAKindIsShown()
    {
        auto obj = testing::object("Склад").scenario("С1", 1e-4).kills(4).kills(9);
        CurrentObjectId = obj.id();
        FillScenarioList();
        QCOMPARE(forms().find<frmBD_Scen>()->Tabl_Name->TextMatrix(1, 4), QStringLiteral("4"));
    }

    void rowHeightFollowsTitleLength_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("twips"); // 0: the grid's default
        QTest::newRow("no title") << 0 << 0;
        QTest::newRow("39 characters") << 39 << 250;
        QTest::newRow("40 characters") << 40 << 500;
        QTest::newRow("79 characters") << 79 << 500;
        QTest::newRow("80 characters") << 80 << 750;
    }
    void rowHeightFollowsTitleLength()
    {
        QFETCH(int, length);
        QFETCH(int, twips);
        // A tall row listed before must not leave its height to the next list.
        auto before = testing::object("До").scenario("Д1", 1e-4, QString(200, QChar(u'ж')));
        CurrentObjectId = before.id();
        FillScenarioList();

        auto obj =
            testing::object("Склад").scenario("С1", 1e-4, length ? QVariant(QString(length, QChar(u'я'))) : QVariant());
        CurrentObjectId = obj.id();
        FillScenarioList();
        FlexGrid* g = forms().find<frmBD_Scen>()->Tabl_Name;
        QCOMPARE(g->rowHeight(1), twips ? TwipsToPixelsY(twips) : TwipsToPixelsY(g->defaultRowHeightTwips()));
    }

    void noScenarioHidesTheGrid()
    {
        auto full = testing::object("Склад").scenario("С1", 1e-4).kills(1).scenario("С2", 1e-4);
        auto empty = testing::object("Пусто");
        CurrentObjectId = full.id();
        FillScenarioList();
        frmBD_Scen* frm = forms().find<frmBD_Scen>();
        frm->Command3->setEnabled(true);
        frm->Command5->setEnabled(true);

        CurrentObjectId = empty.id();
        FillScenarioList();
        QVERIFY(frm->Tabl_Name->isHidden());
        QCOMPARE(frm->Tabl_Name->Rows(), 2);
        for (int c = 0; c < 8; ++c)
            QCOMPARE(frm->Tabl_Name->TextMatrix(1, c), QString());
        QCOMPARE(frm->Tabl_Name->cellForeColor(1, 4), QColor(Qt::black));
        QVERIFY(!frm->Command3->isEnabled());
        QVERIFY(!frm->Command5->isEnabled());
        QCOMPARE(frm->Label4->text(), QStringLiteral("Нет введенных сценариев"));
        QCOMPARE(frm->heightTwips(), 6480);
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
};

QTEST_MAIN(tst_frmBD_Scen_List)
#include "tst_frmBD_Scen_List.moc"
