#include "core/LogFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <cstdio>
#include <cstring>
#include <memory>

namespace zarnel {

namespace {

std::unique_ptr<LogFile>& installed()
{
    static std::unique_ptr<LogFile> log;
    return log;
}

QtMessageHandler& previousHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

const char* typeName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "message";
}

void handler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (installed() && context.category && std::strncmp(context.category, "zarnel.", 7) == 0)
        installed()->write(FormatLogLine(QDateTime::currentDateTime(), type, context.category, text));
    if (previousHandler()) {
        previousHandler()(type, context, text);
    } else {
        std::fputs(qPrintable(qFormatLogMessage(type, context, text) + QLatin1Char('\n')), stderr);
        std::fflush(stderr);
    }
}

} // namespace

LogFile::LogFile(const QString& path, qint64 maxBytes) : m_path(path), m_maxBytes(maxBytes) {}

void LogFile::write(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    QMutexLocker lock(&m_mutex);
    const QFileInfo info(m_path);
    if (info.exists() && info.size() > 0 && info.size() + bytes.size() > m_maxBytes) {
        const QString older = m_path + QStringLiteral(".1");
        QFile::remove(older);
        QFile::rename(m_path, older);
    }
    // Opened per line: the log stays whole when the program is killed, and messages are few.
    QFile file(m_path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(bytes);
}

QString FormatLogLine(const QDateTime& when, QtMsgType type, const char* category, const QString& text)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + QLatin1Char(' ') + QLatin1String(typeName(type)) +
           QLatin1Char(' ') + QLatin1String(category) + QStringLiteral(": ") + text;
}

void InstallLogFile(const QString& folder, qint64 maxBytes)
{
    const bool first = !installed();
    installed() = std::make_unique<LogFile>(QDir(folder).filePath(QLatin1String(kLogFileName)), maxBytes);
    if (first)
        previousHandler() = qInstallMessageHandler(handler);
}

void RemoveLogFile()
{
    if (!installed())
        return;
    qInstallMessageHandler(previousHandler());
    previousHandler() = nullptr;
    installed().reset();
}

} // namespace zarnel
