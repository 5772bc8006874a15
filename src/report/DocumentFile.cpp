#include "report/DocumentFile.h"

#include "components/DocxWriter.h"
#include "components/Services.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zarnel {

namespace {

// Long object names would make a file name longer than file systems allow (255 bytes, two per Cyrillic letter).
constexpr int kMaxTitleLength = 100;

QString FileNameTitle(const QString& title)
{
    QString name;
    for (const QChar ch : title) {
        if (ch == u'"')
            name += u'\'';
        else if (ch.unicode() < 0x20 || QStringView(u"/\\:*?<>|").contains(ch))
            name += u'_';
        else
            name += ch;
    }
    name = name.left(kMaxTitleLength).trimmed();
    // Windows drops trailing dots, which would change the name the user was shown.
    while (name.endsWith(u'.'))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("Документ") : name;
}

} // namespace

QString ProposedDocumentPath(const QString& title)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(FileNameTitle(title) + QStringLiteral(".docx"));
}

QString AskDocumentPath(const QString& caption, const QString& title)
{
    QString path = fileDialogs().getSaveFileName(caption, ProposedDocumentPath(title),
                                                 QStringLiteral("Документы Word (*.docx);;Документы PDF (*.pdf)"));
    // The desktop opens the file by its suffix: "Отчет 1.2" or "Отчет.doc" would not reach the word processor.
    const QString suffix = QFileInfo(path).suffix();
    if (!path.isEmpty() && suffix.compare(u"docx", Qt::CaseInsensitive) != 0 &&
        suffix.compare(u"pdf", Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".docx");
    return path;
}

void OpenSavedDocument(const QString& path)
{
    if (!desktop().openDocument(path))
        MsgBox(QStringLiteral("Документ сохранен в файле\n%1\nОткрыть его не удалось: не найдена программа для "
                              "документов Word.")
                   .arg(QDir::toNativeSeparators(path)),
               QStringLiteral("Внимание!!!"), MsgIcon::Information);
}

bool SaveAndOpenDocument(const DocxWriter& document, const QString& path)
{
    QString error;
    if (!document.save(path, &error)) {
        MsgBox(error, QStringLiteral("Внимание!!!"), MsgIcon::Critical);
        return false;
    }
    OpenSavedDocument(path);
    return true;
}

} // namespace zarnel
