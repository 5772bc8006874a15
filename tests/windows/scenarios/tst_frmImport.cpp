// Import through the scenario editor: pasted cells and a chosen file reach the preview, the user's choice for
// existing classification numbers is applied to all of them, and a refused row stores nothing.

#include "core/TestHome.h"
#include "gui/Scripted.h"

#include "core/Shared.h"
#include "windows/scenarios/frmBD_Scen.h"
#include "windows/scenarios/frmImport.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

using namespace zarnel;
using testing::dumpTable;

namespace {

const QString kTitle = QStringLiteral("Внимание!!!");

frmBD_Scen* openEditor(qint16 objectId)
{
    CurrentObjectId = objectId;
    frmBD_Scen* f = forms().get<frmBD_Scen>();
    f->Show(true);
    return f;
}

} // namespace

class tst_frmImport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<testing::TestHome>();
        m_msgs = std::make_unique<testing::ScriptedMessages>();
    }
    void cleanup()
    {
        testing::resetWindows();
        QCOMPARE(m_msgs->unexpected, 0);
        m_msgs.reset();
        m_home.reset();
    }

    void ctrlVInTheListPastesTwoRows()
    {
        auto obj = testing::object("Склад").scenario("С0", 1e-3).kills(1);
        frmBD_Scen* f = openEditor(obj.id());
        QApplication::clipboard()->setText(QStringLiteral("С1\tПожар\t1,5E-05\t2\t\t\t\t0,5\nС2\t\t1E-4\t\t1\t3\t4\t\n"));
        f->Tabl_Name->setFocus();
        f->mnuPaste->trigger();

        frmImport* w = forms().find<frmImport>();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->Tabl_Import->Rows(), 3);
        QCOMPARE(w->Tabl_Import->TextMatrix(1, 1), QStringLiteral("С1"));
        QCOMPARE(w->Tabl_Import->TextMatrix(1, 3), QStringLiteral("1,500E-05"));
        QCOMPARE(w->Tabl_Import->TextMatrix(2, 7), QStringLiteral("4"));
        QVERIFY(w->Command1->isEnabled());
        QVERIFY(w->Command3->isHidden());

        m_msgs->queue(MsgAnswer::OK);
        w->Command1->click();
        QCOMPARE(m_msgs->texts(), QStringList{QStringLiteral("Добавлено сценариев: 2.")});
        QCOMPARE(testing::countRows("select * from tabScen"), 3);
        QCOMPARE(testing::indicatorsOf(obj.id(), 3), QStringLiteral("1=1 2=3 4=4"));
        // The editor lists them when it is active again.
        QTRY_COMPARE(f->Tabl_Name->Rows(), 4);
    }

    void existingNumbersAreSkippedAllAtOnce()
    {
        auto obj = testing::object("Склад").scenario("С1", 1e-3).kills(1).scenario("С2", 1e-3).kills(1);
        frmBD_Scen* f = openEditor(obj.id());
        QApplication::clipboard()->setText(QStringLiteral("с1\t\t1E-5\t9\nС2\t\t1E-5\t9\nС3\t\t1E-5\t9\n"));
        f->mnuPaste->trigger();
        frmImport* w = forms().find<frmImport>();
        QVERIFY(w);
        QCOMPARE(w->Command1->text(), QStringLiteral("заменить"));
        QCOMPARE(w->Command3->text(), QStringLiteral("пропустить"));
        QCOMPARE(w->Command2->text(), QStringLiteral("отменить"));
        QCOMPARE(w->Tabl_Import->TextMatrix(1, 9), QStringLiteral("уже есть у объекта"));
        m_msgs->queue(MsgAnswer::OK);
        w->Command3->click();
        QCOMPARE(m_msgs->texts(), QStringList{QStringLiteral("Добавлено сценариев: 1. Пропущено: 2.")});
        QCOMPARE(testing::indicatorsOf(obj.id(), 1), QStringLiteral("0=1"));
        QCOMPARE(testing::indicatorsOf(obj.id(), 3), QStringLiteral("0=9"));
    }

    void refusedRowStoresNothing()
    {
        auto obj = testing::object("Склад");
        frmBD_Scen* f = openEditor(obj.id());
        testing::ScriptedFileDialogs dialogs;
        const QString path = m_home->path() + QStringLiteral("/list.csv");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Номер;Частота;Погибшие\nС1;1E-5;1\nС2;0;1\n");
        file.close();
        dialogs.answers << path;
        f->mnuImport->trigger();
        frmImport* w = forms().find<frmImport>();
        QVERIFY(w);
        QCOMPARE(w->Tabl_Import->TextMatrix(2, 9),
                 QStringLiteral("Частота события должна быть от 1,000E-50 до 1000000 событий в год!"));
        QCOMPARE(w->Tabl_Import->cellForeColor(2, 1), QColor(192, 0, 0));
        QVERIFY(!w->Command1->isEnabled());
        w->Command2->click();
        QCOMPARE(testing::countRows("select * from tabScen"), 0);
    }

    void fileThatCannotBeReadIsSaidAndNoPreviewOpens()
    {
        frmBD_Scen* f = openEditor(testing::object("Склад").id());
        testing::ScriptedFileDialogs dialogs;
        const QString path = m_home->path() + QStringLiteral("/empty.xlsx");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        dialogs.answers << path;
        m_msgs->queue(MsgAnswer::OK);
        f->mnuImport->trigger();
        QCOMPARE(m_msgs->calls.size(), 1);
        QCOMPARE(m_msgs->calls[0].text, QStringLiteral("Файл пуст."));
        QCOMPARE(m_msgs->calls[0].title, kTitle);
        QVERIFY(!forms().find<frmImport>());
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
    std::unique_ptr<testing::ScriptedMessages> m_msgs;
};

QTEST_MAIN(tst_frmImport)
#include "tst_frmImport.moc"
