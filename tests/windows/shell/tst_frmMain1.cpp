#include "Scripted.h"
#include "TestHome.h"
#include "windows/objects/frmLoad.h"
#include "windows/shell/frmAbout.h"
#include "windows/shell/frmMain1.h"

#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QTest>

using namespace zarnel;

class tst_frmMain1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        testing::resetWindows();
        forms().onLastUnloaded = nullptr;
    }

    void menusAndCaptions()
    {
        testing::TestHome home;
        frmMain1* f = forms().get<frmMain1>();
        QCOMPARE(f->windowTitle(), QStringLiteral("Программа \"Зарнель\""));
        QCOMPARE(f->Command1->text(), QStringLiteral("Далее>>"));
        QCOMPARE(f->Help->title(), QStringLiteral("&Помощь"));
        QCOMPARE(f->Exit->title(), QStringLiteral("&Выход"));
        QStringList items;
        for (QAction* a : f->Help->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(items, QStringList({"Руководство оператора", "Руководство программиста",
                                     "Руководство системного программиста", "-", "Методические материалы", "-",
                                     "Свидетельство об регистрации", "-", "О программе"}));
        QCOMPARE(f->mnuMetod->actions().size(), 1);
        QCOMPARE(f->mnuRD->text(), QStringLiteral("РД 03-418-01"));
        QCOMPARE(f->Hel->shortcut(), QKeySequence(Qt::Key_F3));
        QCOMPARE(f->Ex->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    }

    void documentsOpenOrAreReportedMissing()
    {
        testing::TestHome home;
        testing::ScriptedMessages msgs;
        testing::RecordingDesktop desk;
        frmMain1* f = forms().get<frmMain1>();
        QCOMPARE(frmMain1::DocumentPath("РД 03-418-01"), home.path() + "/РД 03-418-01.doc");

        f->mnuRD->trigger();
        QVERIFY(desk.opened.isEmpty());
        QCOMPARE(msgs.calls.size(), 1);
        QVERIFY(msgs.calls[0].text.contains("РД 03-418-01.doc"));
        QCOMPARE(msgs.calls[0].title, QStringLiteral("Внимание!"));

        // The .doc wins; without it a document of the same name in another format opens.
        QFile odt(home.path() + "/РД 03-418-01.odt");
        QVERIFY(odt.open(QIODevice::WriteOnly));
        odt.close();
        f->mnuRD->trigger();
        QCOMPARE(desk.opened, QStringList({home.path() + "/РД 03-418-01.odt"}));
        QFile doc(home.path() + "/Свидетельство.doc");
        QVERIFY(doc.open(QIODevice::WriteOnly));
        doc.close();
        f->mnuSvid->trigger();
        QCOMPARE(desk.opened.last(), home.path() + "/Свидетельство.doc");

        // Nothing on the desktop can open it: the user is told which file.
        desk.canOpen = false;
        f->mnuSvid->trigger();
        QCOMPARE(msgs.calls.size(), 2);
        QVERIFY(msgs.calls[1].text.contains("Свидетельство.doc"));
    }

    // An installed program finds its documents under share/zarnel beside bin; a user's own copy wins.
    void documentsOfTheInstallationUnlessTheUserHasACopy()
    {
        testing::TestHome home;
        testing::ScriptedMessages msgs;
        testing::RecordingDesktop desk;
        QDir shared(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/zarnel"));
        QVERIFY2(!shared.exists(), "a share/zarnel folder is left beside the test binary");
        QVERIFY(shared.mkpath(QStringLiteral(".")));
        const QString installed = shared.absoluteFilePath(QStringLiteral("Руководство оператора.docx"));
        QFile doc(installed);
        QVERIFY(doc.open(QIODevice::WriteOnly));
        doc.close();

        frmMain1* f = forms().get<frmMain1>();
        f->mnuRuk_oper->trigger();
        const QString own = home.path() + QStringLiteral("/Руководство оператора.docx");
        QVERIFY(QFile::copy(installed, own));
        f->mnuRuk_oper->trigger();
        QVERIFY(shared.removeRecursively());
        QDir().rmdir(QCoreApplication::applicationDirPath() + QStringLiteral("/../share"));
        QCOMPARE(desk.opened, QStringList({QDir::cleanPath(installed), own}));
        QVERIFY(msgs.calls.isEmpty());
    }

    void aboutBox()
    {
        testing::TestHome home;
        testing::ScriptedMessages msgs;
        testing::RecordingDesktop desk;
        forms().get<frmMain1>()->Show();
        forms().get<frmMain1>()->Hel->trigger();
        frmAbout* a = forms().find<frmAbout>();
        QVERIFY(a);
        QCOMPARE(a->windowModality(), Qt::ApplicationModal);
        QCOMPARE(a->windowTitle(), QStringLiteral("О программе"));
        QCOMPARE(a->lblVersion->text(), QStringLiteral("Версия 13.0"));
        QCOMPARE(a->lblTitle->text(), QStringLiteral(" Программа \"Зарнель\""));
        QCOMPARE(a->Description->text(), QStringLiteral("программа построения F/n и F/g диаграмм"));
        QCOMPARE(a->lblDataFolder->text(), QStringLiteral("Папка данных: ") + home.path() +
                                               QStringLiteral("\nБаза данных: встроенная база данных ") +
                                               home.path() + QStringLiteral("/dbRisk.sqlite"));
        QCOMPARE(a->cmdSysInfo->text(), QStringLiteral("&System Info..."));
        a->cmdSysInfo->click();
        if (desk.started.isEmpty()) {
            QCOMPARE(msgs.texts(), QStringList({"System Information Is Unavailable At This Time"}));
            QCOMPARE(msgs.calls[0].icon, MsgIcon::None);
        }
        a->cmdOK->click();
        QVERIFY(!forms().isLoaded<frmAbout>());
    }

    void nextAndExit()
    {
        testing::TestHome home;
        bool ended = false;
        forms().onLastUnloaded = [&] { ended = true; };
        frmMain1* f = forms().get<frmMain1>();
        f->Show();
        f->Command1->click();
        QVERIFY(!forms().isLoaded<frmMain1>());
        QVERIFY(forms().isLoaded<frmLoad>());
        forms().get<frmMain1>()->Show();
        forms().find<frmMain1>()->Ex->trigger();
        QVERIFY(forms().loaded().isEmpty());
        QCoreApplication::processEvents();
        QVERIFY(ended);
    }
};

QTEST_MAIN(tst_frmMain1)
#include "tst_frmMain1.moc"
