#pragma once
// The log file of the program folder: the zarnel.* categories (failed statements with their SQL text and the
// driver's message, among others) go there, rotated above a size, while every message still reaches standard error.

#include <QDateTime>
#include <QMutex>
#include <QString>
#include <QtGlobal>

namespace zarnel {

inline constexpr qint64 kLogFileMaxBytes = 1024 * 1024;
inline constexpr const char* kLogFileName = "zarnel.log";

class LogFile {
public:
    LogFile(const QString& path, qint64 maxBytes);
    // Appends one line; when the file would grow past the limit it becomes path.1 (replacing the older one) first.
    void write(const QString& line);
    const QString& path() const { return m_path; }

private:
    QString m_path;
    qint64 m_maxBytes;
    QMutex m_mutex;
};

// "2026-12-11 14:03:07.123 warning zarnel.db: text"
QString FormatLogLine(const QDateTime& when, QtMsgType type, const char* category, const QString& text);

// Sends the zarnel.* categories to folder/zarnel.log; the handler in force before keeps receiving every message.
void InstallLogFile(const QString& folder, qint64 maxBytes = kLogFileMaxBytes);
// Restores the handler that was in force before InstallLogFile.
void RemoveLogFile();

} // namespace zarnel
