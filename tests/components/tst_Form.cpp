#include "Scripted.h"
#include "Helpers.h"
#include "components/FlexGrid.h"
#include "components/Form.h"
#include "components/Twips.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QTest>

using namespace zarnel;

namespace {
QStringList g_log;

class FormA : public Form {
public:
    FormA() { box = new QLineEdit(this); }
    QLineEdit* box;
    void Form_Load() override { g_log << "A.Load"; }
    void Form_Activate() override { g_log << "A.Activate"; }
    void Form_Unload() override { g_log << "A.Unload"; }
};

class FormB : public Form {
public:
    void Form_Load() override { g_log << "B.Load"; }
    void Form_Activate() override { g_log << "B.Activate"; }
    void Form_Unload() override { g_log << "B.Unload"; }
};

using testing::settle;
} // namespace

class tst_Form : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { g_log.clear(); }
    void cleanup()
    {
        testing::resetWindows();
        forms().onLastUnloaded = nullptr;
    }

    void loadOnFirstUseUnloadLosesStateHideKeepsIt()
    {
        FormA* a = forms().get<FormA>();
        QCOMPARE(forms().get<FormA>(), a);
        QCOMPARE(g_log, QStringList({"A.Load"}));
        a->box->setText("kept");
        a->Show();
        a->Hide();
        QCOMPARE(forms().get<FormA>()->box->text(), QStringLiteral("kept"));
        a->Unload();
        QVERIFY(!forms().isLoaded<FormA>());
        settle();
        FormA* again = forms().get<FormA>();
        QCOMPARE(again->box->text(), QString());
        QCOMPARE(g_log.count("A.Load"), 2);
    }

    void activationRules()
    {
        FormA* a = forms().get<FormA>();
        FormB* b = forms().get<FormB>();
        g_log.clear();
        a->Show();
        QCOMPARE(g_log, QStringList({"A.Activate"}));
        a->Show(); // already active: no second activation
        QCOMPARE(g_log.size(), 1);
        b->Show(true);
        QCOMPARE(g_log.last(), QStringLiteral("B.Activate"));
        QCOMPARE(b->windowModality(), Qt::ApplicationModal);
        // B goes away: A, still shown, becomes active again on the next turn of the event loop.
        b->Hide();
        QCOMPARE(g_log.last(), QStringLiteral("B.Activate"));
        settle();
        QCOMPARE(g_log.last(), QStringLiteral("A.Activate"));
        // Hide one window and show another at once: only the shown one activates.
        g_log.clear();
        a->Hide();
        b->Show();
        settle();
        QCOMPARE(g_log, QStringList({"B.Activate"}));
        // A message box does not count: nothing activates when focus comes back from it.
        testing::ScriptedMessages msgs;
        MsgBox("текст", "заголовок");
        settle();
        QCOMPARE(g_log, QStringList({"B.Activate"}));
        forms().activate(b, true);
        QCOMPARE(g_log.last(), QStringLiteral("B.Activate"));
        QCOMPARE(g_log.size(), 2);
    }

    void closeAllUnloadsInLoadOrderAndEndsProgram()
    {
        bool ended = false;
        forms().onLastUnloaded = [&] { ended = true; };
        forms().get<FormB>()->Show();
        forms().get<FormA>()->Hide();
        g_log.clear();
        CloseAllWindows();
        QCOMPARE(g_log, QStringList({"B.Unload", "A.Unload"}));
        QVERIFY(!ended); // decided after pending events ran
        settle();
        QVERIFY(ended);
    }

    void unloadThenShowAnotherDoesNotEndProgram()
    {
        bool ended = false;
        forms().onLastUnloaded = [&] { ended = true; };
        forms().get<FormA>()->Show();
        forms().get<FormA>()->Unload();
        forms().get<FormB>()->Show();
        settle();
        QVERIFY(!ended);
    }

    void closingByTheTitleBar_data()
    {
        QTest::addColumn<bool>("otherVisible");
        QTest::addColumn<bool>("programEnds");
        QTest::newRow("another window shown") << true << false;
        // A hidden window could never be reached again.
        QTest::newRow("the other one hidden") << false << true;
    }
    void closingByTheTitleBar()
    {
        QFETCH(bool, otherVisible);
        QFETCH(bool, programEnds);
        bool ended = false;
        forms().onLastUnloaded = [&] { ended = true; };
        FormB* b = forms().get<FormB>();
        b->Show();
        if (!otherVisible)
            b->Hide();
        FormA* a = forms().get<FormA>();
        a->Show();

        a->close();
        QVERIFY(!forms().isLoaded<FormA>());
        QCOMPARE(forms().isLoaded<FormB>(), !programEnds);
        settle();
        QCOMPARE(ended, programEnds);
    }

    void heightIsNotHeldByAChildHiddenJustBefore()
    {
        FormA* a = forms().get<FormA>();
        auto* central = new QWidget;
        auto* layout = new QVBoxLayout(central);
        auto* tall = new QWidget;
        tall->setMinimumHeight(TwipsToPixelsY(4000));
        layout->addWidget(new QLineEdit);
        layout->addWidget(tall);
        a->setCentralWidget(central);
        a->setHeightTwips(4900);
        a->Show();
        settle();
        QCOMPARE(a->frameGeometry().height(), TwipsToPixelsY(4900));

        tall->hide();
        a->setHeightTwips(2150);
        QCOMPARE(a->frameGeometry().height(), TwipsToPixelsY(2150));
        settle();
        QCOMPARE(a->frameGeometry().height(), TwipsToPixelsY(2150));
    }

    void heightInTwips()
    {
        FormA* a = forms().get<FormA>();
        a->setHeightTwips(4900);
        QCOMPARE(a->heightTwips(), 4900);
        a->Show();
        settle();
        // The given height is the outer one, frame included.
        QCOMPARE(a->frameGeometry().height(), TwipsToPixelsY(4900));
        a->setHeightTwips(2150);
        QCOMPARE(a->frameGeometry().height(), TwipsToPixelsY(2150));
    }

    void gridVocabulary()
    {
        FlexGrid g;
        g.setRows(2);
        g.setCols(3);
        g.setColWidth(0, 0);
        g.setColWidth(1, 5500);
        QCOMPARE(g.ColWidth(0), 0);
        QVERIFY(qAbs(g.ColWidth(1) - 5500) <= 15);
        g.setTextMatrix(0, 1, "Заголовок");
        g.setTextMatrix(1, 1, "первая");
        g.AddItem("2");
        QCOMPARE(g.Rows(), 3);
        QCOMPARE(g.TextMatrix(2, 0), QStringLiteral("2"));
        g.setRow(2);
        g.setCol(1);
        g.setCellForeColor(QColor(255, 128, 128));
        QCOMPARE(g.cellForeColor(2, 1), QColor(255, 128, 128));
        QCOMPARE(g.cellForeColor(1, 1), QColor(Qt::black));
        int clicks = 0;
        connect(&g, &FlexGrid::Click, [&] { ++clicks; });
        g.clickCell(1, 2);
        QCOMPARE(clicks, 1);
        QCOMPARE(g.Row(), 1);
        QCOMPARE(g.Col(), 2);
        g.Clear();
        QCOMPARE(g.TextMatrix(1, 1), QString());
        QCOMPARE(g.cellForeColor(2, 1), QColor(Qt::black));
        QCOMPARE(g.Rows(), 3);
    }
};

QTEST_MAIN(tst_Form)
#include "tst_Form.moc"
