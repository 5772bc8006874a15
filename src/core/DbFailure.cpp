#include "core/DbFailure.h"

#include <QRegularExpression>
#include <QSqlError>

namespace zarnel {

namespace {

struct Phrase {
    const char* text; // lower case
    DbFailure cause;
};

// Texts of the SQLite library (directly or through its ODBC driver), unixODBC and PostgreSQL.
const Phrase kPhrases[] = {
    {"readonly database", DbFailure::ReadOnly},
    {"read-only", DbFailure::ReadOnly},
    {"read only", DbFailure::ReadOnly},
    {"database is locked", DbFailure::Locked},
    {"table is locked", DbFailure::Locked},
    {"could not obtain lock", DbFailure::Locked},
    {"lock timeout", DbFailure::Locked},
    {"deadlock", DbFailure::Locked},
    {"disk is full", DbFailure::DiskFull},
    {"disk full", DbFailure::DiskFull},
    {"no space left", DbFailure::DiskFull},
    {"could not extend file", DbFailure::DiskFull},
    {"file is not a database", DbFailure::ForeignDatabase},
    {"authentication failed", DbFailure::Access},
    {"no password supplied", DbFailure::Access},
    {"password authentication", DbFailure::Access},
    {"access denied", DbFailure::Access},
    {"permission denied", DbFailure::NoRights},
    {"not authorized", DbFailure::NoRights},
    {"unable to open database file", DbFailure::Unreachable},
    {"could not connect", DbFailure::Unreachable},
    {"connection refused", DbFailure::Unreachable},
    {"data source name not found", DbFailure::Unreachable},
    {"can't open lib", DbFailure::Unreachable},
    {"server closed the connection", DbFailure::Unreachable},
    {"is the server running", DbFailure::Unreachable},
    {"no route to host", DbFailure::Unreachable},
    {"could not translate host name", DbFailure::Unreachable},
    {"communication link failure", DbFailure::Unreachable},
    {"connection timed out", DbFailure::Unreachable},
    {"timeout expired", DbFailure::Unreachable},
    {"terminating connection", DbFailure::Unreachable},
    {"duplicate key value", DbFailure::KeyTaken},
    {"unique constraint failed", DbFailure::KeyTaken},
};

DbFailure fromSqliteCode(int code)
{
    if (code == 1555 || code == 2067) // SQLITE_CONSTRAINT_PRIMARYKEY, SQLITE_CONSTRAINT_UNIQUE
        return DbFailure::KeyTaken;
    switch (code & 0xff) { // extended codes carry the primary one in the low byte
    case 3:  // SQLITE_PERM
    case 23: // SQLITE_AUTH
        return DbFailure::Access;
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return DbFailure::Locked;
    case 8: // SQLITE_READONLY
        return DbFailure::ReadOnly;
    case 13: // SQLITE_FULL
        return DbFailure::DiskFull;
    case 14: // SQLITE_CANTOPEN
        return DbFailure::Unreachable;
    case 26: // SQLITE_NOTADB
        return DbFailure::ForeignDatabase;
    default:
        return DbFailure::Other;
    }
}

DbFailure fromSqlState(const QString& state)
{
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("IM")) ||
        state.startsWith(QLatin1String("HYT")))
        return DbFailure::Unreachable;
    if (state.startsWith(QLatin1String("28")))
        return DbFailure::Access;
    if (state == QLatin1String("42501"))
        return DbFailure::NoRights;
    if (state == QLatin1String("53100"))
        return DbFailure::DiskFull;
    if (state == QLatin1String("25006"))
        return DbFailure::ReadOnly;
    if (state == QLatin1String("55P03") || state == QLatin1String("40P01"))
        return DbFailure::Locked;
    if (state == QLatin1String("23505"))
        return DbFailure::KeyTaken;
    return DbFailure::Other;
}

} // namespace

DbFailure ClassifyDbFailure(const QString& nativeCode, const QString& text, bool sqliteCodes)
{
    const QString lower = text.toLower();
    for (const Phrase& p : kPhrases) {
        if (lower.contains(QLatin1String(p.text)))
            return p.cause;
    }
    if (sqliteCodes) {
        bool isNumber = false;
        const int code = nativeCode.trimmed().toInt(&isNumber);
        if (isNumber)
            return fromSqliteCode(code);
    }
    // ODBC drivers that put the SQLSTATE into their message: "[08001]", "SQLSTATE=28000", "28P01".
    static const QRegularExpression state(QStringLiteral("\\b(08[0-9A-Z]{3}|28[0-9A-Z]{3}|42501|53100|25006|"
                                                         "55P03|40P01|23505|IM00[23]|HYT0[01])\\b"));
    const QRegularExpressionMatch m = state.match(text);
    return m.hasMatch() ? fromSqlState(m.captured(1)) : DbFailure::Other;
}

DbFailure ClassifyDbFailure(const QSqlError& error)
{
    // Qt's ODBC driver marks its texts; its native codes are the data source's own, not SQLite's.
    const bool odbc = error.driverText().startsWith(QLatin1String("QODBC"));
    return ClassifyDbFailure(error.nativeErrorCode(), error.text(), !odbc);
}

QString DbFailureReason(DbFailure cause)
{
    switch (cause) {
    case DbFailure::ReadOnly:
        return QStringLiteral("База данных открыта только для чтения, изменения не сохранены. "
                              "Проверьте, что файл базы данных и его папка доступны для записи (для базы на сервере "
                              "- ваши права), и повторите действие.");
    case DbFailure::Locked:
        return QStringLiteral("База данных занята другой программой, действие не выполнено. "
                              "Подождите несколько секунд и повторите его.");
    case DbFailure::DiskFull:
        return QStringLiteral("На диске нет свободного места, изменения не сохранены. "
                              "Освободите место на диске с базой данных и повторите действие.");
    case DbFailure::Unreachable:
        return QStringLiteral("База данных недоступна (файл не открывается или сервер не "
                              "отвечает), действие не выполнено. Проверьте файл базы данных или подключение к "
                              "серверу и повторите действие.");
    case DbFailure::Access:
        return QStringLiteral("Нет доступа к базе данных (неверное имя пользователя или пароль "
                              "либо нет прав), действие не выполнено. Обратитесь к администратору базы данных.");
    case DbFailure::NoRights:
        return QStringLiteral("Нет прав на это действие в базе данных, действие не выполнено. Обратитесь к "
                              "администратору базы данных.");
    case DbFailure::ForeignDatabase:
        return QStringLiteral("Файл или источник данных не является базой данных программы, "
                              "действие не выполнено. Укажите базу данных программы.");
    case DbFailure::ObjectChanged:
        return QStringLiteral("Объект изменен другим пользователем! Изменения не сохранены: окно показывает данные "
                              "из базы, проверьте их и повторите сохранение.");
    case DbFailure::ObjectGone:
        return QStringLiteral("Объект удален другим пользователем! Изменения не сохранены. Выберите объект заново.");
    case DbFailure::ScenarioChanged:
        return QStringLiteral("Сценарий изменен другим пользователем! Изменения не сохранены: окно показывает "
                              "данные из базы, проверьте их и повторите ввод.");
    case DbFailure::ScenarioGone:
        return QStringLiteral("Сценарий удален другим пользователем! Изменения не сохранены: окно показывает "
                              "данные из базы.");
    case DbFailure::KeyTaken:
        return QStringLiteral("Другой пользователь одновременно добавил запись с тем же номером, изменения не "
                              "сохранены. Повторите действие.");
    case DbFailure::Other:
        break;
    }
    return QStringLiteral("Действие не выполнено. Повторите его; если ошибка повторится, "
                          "обратитесь к администратору (подробности записаны в журнал программы).");
}

QString DbFailureText(DbFailure cause)
{
    const QString reason = DbFailureReason(cause);
    if (IsConflict(cause))
        return reason;
    return QStringLiteral("Ошибка базы данных: ") + reason.left(1).toLower() + reason.mid(1);
}

QString RefusedTable(const QString& driverText)
{
    static const QRegularExpression refused(QStringLiteral("permission denied for (?:table|relation) \"?(\\w+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = refused.match(driverText);
    if (!m.hasMatch())
        return QString();
    // The server folds unquoted names to lower case.
    static const char* const kTables[] = {"tabObjekt", "tabScen",     "tabRisk",        "tabNumber",
                                          "tabOtchet", "tabKriteriy", "tabKriteriyObj", "tabDopRisk"};
    for (const char* t : kTables) {
        if (m.captured(1).compare(QLatin1String(t), Qt::CaseInsensitive) == 0)
            return QLatin1String(t);
    }
    return m.captured(1);
}

QString ServerFailureText(DbFailure cause, const QString& driverText)
{
    QString words;
    switch (cause) {
    case DbFailure::Unreachable:
        words = QStringLiteral("сервер недоступен. Проверьте подключение к серверу и повторите действие.");
        break;
    case DbFailure::Access:
        words = QStringLiteral("неверный пароль или имя пользователя. Повторите вход с верными данными.");
        break;
    case DbFailure::NoRights: {
        const QString table = RefusedTable(driverText);
        words = (table.isEmpty() ? QStringLiteral("нет прав на это действие")
                                 : QStringLiteral("нет прав на таблицу ") + table) +
                QStringLiteral(". Обратитесь к администратору базы данных.");
        break;
    }
    default:
        return DbFailureText(cause) + QStringLiteral("\n\nСообщение сервера: ") + driverText;
    }
    return QStringLiteral("Ошибка базы данных: ") + words + QStringLiteral("\n\nСообщение сервера: ") + driverText;
}

bool IsConflict(DbFailure cause)
{
    return cause == DbFailure::ObjectChanged || cause == DbFailure::ObjectGone ||
           cause == DbFailure::ScenarioChanged || cause == DbFailure::ScenarioGone;
}

} // namespace zarnel
