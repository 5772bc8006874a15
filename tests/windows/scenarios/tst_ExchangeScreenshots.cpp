// Screenshots of the import preview and the exchange menus for the documentation, on the sample object. Runs only
// when ZARNEL_SCREENSHOTS names the folder for the pictures; the whole screen is taken, window frames included:
//     ZARNEL_SCREENSHOTS=docs/screenshots xvfb-run -a -s "-screen 0 1280x800x24" sh -c 'openbox & ./tst_ExchangeScreenshots'

#include "core/TestHome.h"
#include "gui/Scripted.h"

#include "core/DemoData.h"
#include "core/Shared.h"
#include "windows/results/BatchReport.h"
#include "windows/results/frmOutput.h"
#include "windows/scenarios/frmBD_Scen.h"
#include "windows/scenarios/frmImport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

using namespace zarnel;

class ExchangeScreenshots : public QObject {
    Q_OBJECT

private:
    QString folder;

    void shot(const QString& name)
    {
        for (int i = 0; i < 10; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(50);
        }
        const QString file = QDir(folder).filePath(name);
        QVERIFY2(QGuiApplication::primaryScreen()->grabWindow(0).save(file), qPrintable(file));
    }

private Q_SLOTS:
    void initTestCase()
    {
        folder = qEnvironmentVariable("ZARNEL_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("ZARNEL_SCREENSHOTS is not set");
        QDir().mkpath(folder);
    }

    void previewAndMenus()
    {
        testing::TestHome home;
        testing::ScriptedMessages messages;
        Connection c;
        CurrentObjectId = WriteDemoObject(c);
        const auto first = c.select("select * from tabScen where Id_obj=" + QString::number(CurrentObjectId));
        const QString existing = FieldText(first.first(), "Name");

        frmBD_Scen* editor = forms().get<frmBD_Scen>();
        editor->Show(true);
        editor->move(20, 20);
        editor->mnuExchange->popup(editor->mapToGlobal(editor->menuBar()->actionGeometry(
                                       editor->mnuExchange->menuAction()).bottomLeft()));
        shot(QStringLiteral("exchange-editor-menu.png"));
        editor->mnuExchange->hide();

        QApplication::clipboard()->setText(
            existing + QStringLiteral("\tРазгерметизация емкости\t1,2E-05\t2\t3\t5\t8\t1,5\n"
                                      "С-101\tПожар пролива в обваловании\t0,00025\t\t1\t4\t5\t0,3\n"
                                      "С-102\tВзрыв облака ТВС\t0\t4\t\t\t\t12\n"
                                      "С-103\tОгненный шар\t3E-07\t2,5\t6\t\t6\t\n"));
        editor->mnuPaste->trigger();
        frmImport* preview = forms().find<frmImport>();
        QVERIFY(preview);
        preview->move(60, 140);
        shot(QStringLiteral("exchange-import-preview.png"));
        preview->Command2->click();

        BatchBuild built = BuildObjectForBatch(c, QString::fromUtf8(kDemoObjectName), std::nullopt);
        QCOMPARE(built.failure.message, QString());
        editor->Hide();
        frmOutput* output = forms().get<frmOutput>();
        output->ShowBuild(built.result);
        output->Show(true);
        output->move(20, 20);
        shot(QStringLiteral("exchange-results-menu.png"));
        testing::resetWindows();
    }
};

QTEST_MAIN(ExchangeScreenshots)
#include "tst_ExchangeScreenshots.moc"
