#include "windows/shell/frmMain1.h"

#include "components/Services.h"
#include "core/ProgramFolder.h"
#include "windows/objects/frmLoad.h"
#include "windows/shell/frmAbout.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>

namespace zarnel {

namespace {

// A small emblem: a falling F/n step curve over logarithmic grid lines.
QPixmap emblem(const QColor& colour)
{
    QPixmap pm(72, 72);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 200, 200), 1));
    for (int i = 12; i < 72; i += 15) {
        p.drawLine(6, i, 68, i);
        p.drawLine(i - 4, 6, i - 4, 66);
    }
    p.setPen(QPen(colour, 3));
    const QPoint steps[] = {{8, 12}, {22, 12}, {22, 28}, {38, 28}, {38, 44}, {52, 44}, {52, 60}, {66, 60}};
    p.drawPolyline(steps, 8);
    p.setBrush(colour);
    for (int i = 1; i < 8; i += 2)
        p.drawEllipse(steps[i], 3, 3);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, 71, 71);
    return pm;
}

} // namespace

frmMain1::frmMain1()
{
    setWindowTitle(QStringLiteral("Программа \"Зарнель\""));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    auto* top = new QHBoxLayout();
    Image1 = new QLabel(central);
    Image1->setPixmap(emblem(QColor(255, 0, 0)));
    Image2 = new QLabel(central);
    Image2->setPixmap(emblem(QColor(192, 0, 192)));
    Label1 = new QLabel(QStringLiteral("Программа построения F/n и F/g диаграмм"), central);
    QFont big = Label1->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    Label1->setFont(big);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    top->addWidget(Image1);
    top->addWidget(Label1, 1);
    top->addWidget(Image2);
    layout->addLayout(top);
    Label2 = new QLabel(QStringLiteral("Разработана на основе \"Методических указаний по проведению анализа риска "
                                       "опасных производственных объектов РД 03-418-01\""),
                        central);
    QFont medium = Label2->font();
    medium.setPointSize(medium.pointSize() + 2);
    Label2->setFont(medium);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    layout->addWidget(Label2, 1);
    Command1 = new QPushButton(QStringLiteral("Далее>>"), central);
    auto* bottom = new QHBoxLayout();
    bottom->addStretch();
    bottom->addWidget(Command1);
    layout->addLayout(bottom);

    Help = menuBar()->addMenu(QStringLiteral("&Помощь"));
    mnuRuk_oper = Help->addAction(QStringLiteral("Руководство оператора"));
    mnuRuk_progr = Help->addAction(QStringLiteral("Руководство программиста"));
    mnuRuk_sys_progr = Help->addAction(QStringLiteral("Руководство системного программиста"));
    Help->addSeparator();
    mnuMetod = Help->addMenu(QStringLiteral("Методические материалы"));
    mnuRD = mnuMetod->addAction(QStringLiteral("РД 03-418-01"));
    Help->addSeparator();
    mnuSvid = Help->addAction(QStringLiteral("Свидетельство об регистрации"));
    Help->addSeparator();
    Hel = Help->addAction(QStringLiteral("О программе"));
    Hel->setShortcut(QKeySequence(Qt::Key_F3));
    Exit = menuBar()->addMenu(QStringLiteral("&Выход"));
    Ex = Exit->addAction(QStringLiteral("Выход"));
    Ex->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));

    for (QAction* item : {mnuRuk_oper, mnuRuk_progr, mnuRuk_sys_progr, mnuRD}) {
        connect(item, &QAction::triggered, this, [this, item] { OpenDocument(DocumentPath(item->text())); });
    }
    connect(mnuSvid, &QAction::triggered, this,
            [this] { OpenDocument(ProgramFile(QStringLiteral("Свидетельство.doc"))); });
    connect(Hel, &QAction::triggered, this, &frmMain1::Hel_Click);
    connect(Ex, &QAction::triggered, this, &frmMain1::Ex_Click);
    connect(Command1, &QPushButton::clicked, this, &frmMain1::Command1_Click);
    setWidthTwips(8400);
    setHeightTwips(4800);
}

QString frmMain1::DocumentPath(const QString& caption)
{
    return ProgramFile(caption + QStringLiteral(".doc"));
}

void frmMain1::Command1_Click()
{
    Unload();
    forms().get<frmLoad>()->Show();
}

void frmMain1::Hel_Click()
{
    forms().get<frmAbout>()->Show(true);
}

void frmMain1::Ex_Click()
{
    CloseAllWindows();
}

void frmMain1::OpenDocument(const QString& path)
{
    OpenHelpDocument(path);
}

void OpenHelpDocument(const QString& docPath)
{
    const QFileInfo doc(docPath);
    const QString base = doc.completeBaseName();
    QStringList candidates;
    QStringList folders = DocumentFolders();
    folders.prepend(doc.absolutePath());
    folders.removeDuplicates();
    for (const QString& folder : folders) {
        for (const char* ext : {".doc", ".docx", ".odt", ".pdf"})
            candidates << folder + QLatin1Char('/') + base + QLatin1String(ext);
    }
    for (const QString& candidate : candidates) {
        if (!QFileInfo(candidate).isFile())
            continue;
        if (!desktop().openDocument(candidate)) {
            MsgBox(QStringLiteral("Не удалось открыть документ \"") + candidate +
                       QStringLiteral("\": не найдена программа для его просмотра."),
                   QStringLiteral("Внимание!"), MsgIcon::Exclamation);
        }
        return;
    }
    MsgBox(QStringLiteral("Документ \"") + doc.fileName() + QStringLiteral("\" не найден в папке программы (") +
               doc.absolutePath() + QStringLiteral(")."),
           QStringLiteral("Внимание!"), MsgIcon::Exclamation);
}

} // namespace zarnel
