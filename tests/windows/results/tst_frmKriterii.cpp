// The criteria window: built-in lines read-only, the user's lines added, refused, changed and deleted, and the
// object's choice of lines and limits saved.

#include "core/CriteriaStore.h"
#include "core/Shared.h"
#include "core/TestHome.h"
#include "gui/Scripted.h"
#include "windows/results/frmKriterii.h"

#include <QTest>

using namespace zarnel;
using testing::dumpTable;

namespace {

const QString kTitle = QStringLiteral("Внимание!!!");

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void typeLine(frmKriterii* f, const QString& name, const QString& c, const QString& alpha, const QString& n1,
              const QString& n2 = {})
{
    f->Command1->click();
    f->Name_krit->setText(name);
    f->C_krit->setText(c);
    f->Alpha_krit->setText(alpha);
    f->N1_krit->setText(n1);
    f->N2_krit->setText(n2);
    f->Kind_krit[0]->setChecked(true);
}

} // namespace

class tst_frmKriterii : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<testing::TestHome>();
        m_messages = std::make_unique<testing::ScriptedMessages>();
        CurrentObjectId = testing::object(QStringLiteral("Склад"), 10).id();
    }
    void cleanup()
    {
        forms().reset();
        settle();
        QCOMPARE(m_messages->unexpected, 0);
        m_messages.reset();
        m_home.reset();
    }

    void builtInLinesAreListedReadOnly()
    {
        frmKriterii* f = forms().get<frmKriterii>();
        f->Show();
        QCOMPARE(f->windowTitle(), QStringLiteral("Критерии приемлемости"));
        QCOMPARE(f->Label2->text(), QStringLiteral("ОПО: Склад"));
        QCOMPARE(f->tabKrit->rowCount(), BuiltInCriteria().size());
        const int r = f->rowOf(QStringLiteral("Дания"));
        QVERIFY(r >= 0);
        QCOMPARE(f->tabKrit->item(r, 2)->text(), QStringLiteral("F = 1,000E-03 / N^2, N ≥ 1"));
        QCOMPARE(f->tabKrit->item(f->rowOf(QStringLiteral("Великобритания (R2P2, N = 50)")), 2)->text(),
                 QStringLiteral("F = 2,000E-04, N = 50"));
        f->tabKrit->setCurrentCell(r, 1);
        QCOMPARE(f->Name_krit->text(), QStringLiteral("Дания"));
        QVERIFY(!f->Name_krit->isEnabled());
        QVERIFY(!f->Command2->isEnabled());
        QVERIFY(!f->Command3->isEnabled());
        QVERIFY(f->tabKrit->item(r, 4)->text().contains(QStringLiteral("8/2008")));
    }

    void refusedLineChangesNothing_data()
    {
        QTest::addColumn<QString>("c");
        QTest::addColumn<QString>("n1");
        QTest::addColumn<QString>("message");
        QTest::newRow("C is text") << "abc" << "1" << QStringLiteral("Значение C должно быть положительным числом!");
        QTest::newRow("N1 below 1") << "1E-3" << "0,5"
                                    << QStringLiteral("Нижняя граница N1 должна быть числом не меньше 1!");
    }

    void refusedLineChangesNothing()
    {
        QFETCH(QString, c);
        QFETCH(QString, n1);
        QFETCH(QString, message);
        frmKriterii* f = forms().get<frmKriterii>();
        f->Show();
        const QStringList before = dumpTable(QStringLiteral("tabKriteriy"));
        typeLine(f, QStringLiteral("Мой"), c, QStringLiteral("1"), n1);
        m_messages->queue(MsgAnswer::OK);
        f->Command2->click();
        QCOMPARE(m_messages->texts(), QStringList{message});
        QCOMPARE(m_messages->calls.last().title, kTitle);
        QCOMPARE(dumpTable(QStringLiteral("tabKriteriy")), before);
        QCOMPARE(f->Name_krit->text(), QStringLiteral("Мой")); // the typed entry stays
    }

    void addChooseSaveAndDelete()
    {
        frmKriterii* f = forms().get<frmKriterii>();
        f->Show();
        typeLine(f, QStringLiteral("Ведомственный"), QStringLiteral("1e-4"), QStringLiteral("1"), QStringLiteral("2"),
                 QStringLiteral("100"));
        f->Command2->click();
        QVERIFY(m_messages->calls.isEmpty());
        QCOMPARE(f->tabKrit->rowCount(), BuiltInCriteria().size() + 1);
        QCOMPARE(f->tabKrit->item(f->rowOf(QStringLiteral("Ведомственный")), 2)->text(),
                 QStringLiteral("F = 1,000E-04 / N^1, 2 ≤ N ≤ 100"));

        f->setShown(QStringLiteral("Ведомственный"), true);
        f->setShown(QStringLiteral("Дания"), true);
        f->Limit_chk[0]->setChecked(true);
        f->Limit_value[0]->setText(QStringLiteral("1E-5"));
        f->Limit_source[0]->setText(QStringLiteral("Свой"));
        bool saved = false;
        f->onSaved = [&] { saved = true; };
        f->Command4->click();
        settle();
        QVERIFY(saved);
        {
            Connection c;
            QCOMPARE(ChosenCriteria(c, CurrentObjectId),
                     (QStringList{QStringLiteral("Дания"), QStringLiteral("Ведомственный")}));
            QCOMPARE(ChosenLimit(c, CurrentObjectId, 0)->value, 1e-5);
            QVERIFY(!ChosenLimit(c, CurrentObjectId, 1));
        }

        // Reopened, the window shows the saved choice; deleting asks first and removes the choice too.
        f = forms().get<frmKriterii>();
        f->Show();
        const int r = f->rowOf(QStringLiteral("Ведомственный"));
        QCOMPARE(f->tabKrit->item(r, 0)->checkState(), Qt::Checked);
        QVERIFY(f->Limit_chk[0]->isChecked());
        f->tabKrit->setCurrentCell(r, 1);
        QVERIFY(f->Command3->isEnabled());
        m_messages->no();
        f->Command3->click();
        QCOMPARE(f->tabKrit->rowCount(), BuiltInCriteria().size() + 1);
        m_messages->yes();
        f->Command3->click();
        QCOMPARE(m_messages->calls.last().title, QStringLiteral("В н и м а н и е ! ! !"));
        QCOMPARE(f->tabKrit->rowCount(), BuiltInCriteria().size());
        Connection c;
        QCOMPARE(ChosenCriteria(c, CurrentObjectId), QStringList{QStringLiteral("Дания")});
    }

    void badLimitIsRefused()
    {
        frmKriterii* f = forms().get<frmKriterii>();
        f->Show();
        f->Limit_chk[1]->setChecked(true);
        f->Limit_value[1]->setText(QStringLiteral("0"));
        m_messages->queue(MsgAnswer::OK);
        f->Command4->click();
        QCOMPARE(m_messages->texts(),
                 QStringList{QStringLiteral("Допустимый индивидуальный риск (тяжелые поражения) должен быть "
                                            "положительным числом!")});
        QVERIFY(forms().isLoaded<frmKriterii>());
        Connection c;
        QVERIFY(!ChosenLimit(c, CurrentObjectId, 1));
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
    std::unique_ptr<testing::ScriptedMessages> m_messages;
};

QTEST_MAIN(tst_frmKriterii)
#include "tst_frmKriterii.moc"
