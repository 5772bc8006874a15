#include "core/CriteriaStore.h"

#include <QSet>
#include <cmath>
#include <stdexcept>

namespace zarnel {

double CriterionLine::at(double n) const
{
    return alpha == 0 ? c : c / std::pow(n, alpha);
}

const QVector<CriterionLine>& BuiltInCriteria()
{
    static const QVector<CriterionLine> lines{
        {QStringLiteral("Нидерланды (ориентировочное значение)"), 1e-3, 2, 10, std::nullopt, 1u, 0x7030A0,
         QStringLiteral("Нидерланды: ориентировочное значение группового риска (Bevi; VROM, 1990), "
                        "по обзорам EEA и TU Delft"),
         true},
        {QStringLiteral("Нидерланды (пренебрежимый уровень)"), 1e-5, 2, 10, std::nullopt, 1u, 0x808080,
         QStringLiteral("Нидерланды: пренебрежимый уровень (VROM, 1990), 1 % ориентировочного значения, "
                        "по обзору EEA"),
         true},
        {QStringLiteral("Дания"), 1e-3, 2, 1, std::nullopt, 1u, 0x006400,
         QStringLiteral("Датское агентство по охране окружающей среды, Arbejdsrapport 8/2008 "
                        "(обзор европейской практики)"),
         true},
        {QStringLiteral("Великобритания (R2P2, N = 50)"), 2e-4, 0, 50, 50.0, 1u, 0x8B4513,
         QStringLiteral("HSE, «Reducing risks, protecting people» (2001): аварии с 50 и более погибшими "
                        "не чаще 1 раза в 5000 лет"),
         true},
    };
    return lines;
}

const IndividualLimit& BuiltInIndividualLimit()
{
    static const IndividualLimit limit{
        1e-6, QStringLiteral("Федеральный закон № 123-ФЗ, ст. 93 (пожарный риск на производственных объектах)")};
    return limit;
}

namespace {

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

const CriterionLine* BuiltIn(const QString& name)
{
    for (const CriterionLine& l : BuiltInCriteria())
        if (SameName(l.name, name))
            return &l;
    return nullptr;
}

CriterionLine UserLine(const QSqlRecord& r)
{
    CriterionLine l;
    l.name = FieldText(r, "Name");
    l.c = FieldDouble(r, "C");
    l.alpha = FieldDouble(r, "Alpha");
    l.n1 = FieldDouble(r, "N1");
    if (!FieldIsEmpty(r, "N2"))
        l.n2 = FieldDouble(r, "N2");
    l.kinds = unsigned(FieldInt16(r, "Kinds"));
    l.colour = unsigned(r.value(QStringLiteral("Colour")).toLongLong());
    l.source = FieldText(r, "Source");
    return l;
}

QVariant N2Value(const CriterionLine& l)
{
    return l.n2 ? QVariant(*l.n2) : QVariant(QMetaType(QMetaType::Double));
}

} // namespace

void EnsureCriteriaTables(Connection& c)
{
    const ColumnTypes type = ColumnTypesOf(c);
    CreateMissingTables(
        c, {{QStringLiteral("tabKriteriy"),
             {"CREATE TABLE tabKriteriy (Name " + type.name + ", C " + type.real + ", Alpha " + type.real +
              ", N1 " + type.real + ", N2 " + type.real + ", Kinds SMALLINT, Colour INTEGER, Source VARCHAR(255))"}},
            {QStringLiteral("tabKriteriyObj"),
             {"CREATE TABLE tabKriteriyObj (Id_obj SMALLINT, Name " + type.name + ")"}},
            {QStringLiteral("tabDopRisk"),
             {"CREATE TABLE tabDopRisk (Id_obj SMALLINT, Id_por SMALLINT, Znach " + type.real +
              ", Source VARCHAR(255))"}}});
}

QVector<CriterionLine> AllCriteria(Connection& c)
{
    QVector<CriterionLine> all = BuiltInCriteria();
    for (const QSqlRecord& r : c.select(QStringLiteral("SELECT * FROM tabKriteriy ORDER BY Name")))
        all.append(UserLine(r));
    return all;
}

std::optional<CriterionLine> FindCriterion(Connection& c, const QString& name)
{
    if (const CriterionLine* b = BuiltIn(name))
        return *b;
    for (const CriterionLine& l : AllCriteria(c))
        if (SameName(l.name, name))
            return l;
    return std::nullopt;
}

std::optional<QString> CheckCriterion(Connection& c, const CriterionLine& l, const QString& previousName)
{
    const QString name = l.name.trimmed();
    if (name.isEmpty())
        return QStringLiteral("Введите название критерия!");
    if (name.size() > kCriterionTextLength)
        return QStringLiteral("Название критерия не должно быть длиннее %1 знаков!").arg(kCriterionTextLength);
    if (!(previousName.size() && SameName(name, previousName)) && FindCriterion(c, name))
        return QStringLiteral("Критерий «%1» уже есть: выберите другое название!").arg(name);
    if (!std::isfinite(l.c) || l.c <= 0)
        return QStringLiteral("Значение C должно быть положительным числом!");
    if (!std::isfinite(l.alpha) || l.alpha < 0)
        return QStringLiteral("Показатель α должен быть неотрицательным числом!");
    if (!std::isfinite(l.n1) || l.n1 < 1)
        return QStringLiteral("Нижняя граница N1 должна быть числом не меньше 1!");
    if (l.n2 && (!std::isfinite(*l.n2) || *l.n2 < l.n1))
        return QStringLiteral("Верхняя граница N2 должна быть не меньше нижней границы N1!");
    if ((l.kinds & 0x1Fu) == 0)
        return QStringLiteral("Отметьте хотя бы один вид последствий, к которому относится критерий!");
    if (l.source.size() > kCriterionTextLength)
        return QStringLiteral("Источник не должен быть длиннее %1 знаков!").arg(kCriterionTextLength);
    return std::nullopt;
}

void SaveCriterion(Connection& c, const CriterionLine& line, const QString& previousName)
{
    if (const auto message = CheckCriterion(c, line, previousName))
        throw std::invalid_argument(message->toStdString());
    if (!previousName.isEmpty() && BuiltIn(previousName))
        throw std::invalid_argument("built-in criterion lines cannot be changed");
    const QString name = line.name.trimmed();
    const QVariantList values{name,        line.c,       line.alpha, line.n1, N2Value(line), int(line.kinds & 0x1Fu),
                              qint64(line.colour & 0xFFFFFFu), line.source};
    Transaction t(c);
    if (previousName.isEmpty()) {
        c.exec(QStringLiteral("INSERT INTO tabKriteriy (Name, C, Alpha, N1, N2, Kinds, Colour, Source) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
               values);
    } else {
        QVariantList changed = values;
        changed << previousName;
        if (c.exec(QStringLiteral("UPDATE tabKriteriy SET Name = ?, C = ?, Alpha = ?, N1 = ?, N2 = ?, Kinds = ?, "
                                  "Colour = ?, Source = ? WHERE Name = ?"),
                   changed) == 0)
            throw DbError(QStringLiteral("Критерий «%1» не найден: возможно, его удалил другой пользователь.")
                              .arg(previousName));
        c.exec(QStringLiteral("UPDATE tabKriteriyObj SET Name = ? WHERE Name = ?"), {name, previousName});
    }
    t.commit();
}

void DeleteCriterion(Connection& c, const QString& name)
{
    Transaction t(c);
    c.exec(QStringLiteral("DELETE FROM tabKriteriy WHERE Name = ?"), {name});
    c.exec(QStringLiteral("DELETE FROM tabKriteriyObj WHERE Name = ?"), {name});
    t.commit();
}

QStringList ChosenCriteria(Connection& c, qint16 objectId)
{
    QStringList stored;
    for (const QSqlRecord& r : c.select(QStringLiteral("SELECT Name FROM tabKriteriyObj WHERE Id_obj = %1").arg(objectId)))
        stored << FieldText(r, "Name");
    QStringList chosen;
    for (const CriterionLine& l : AllCriteria(c))
        for (const QString& s : stored)
            if (SameName(l.name, s)) {
                chosen << l.name;
                break;
            }
    return chosen;
}

namespace {

void WriteChosenCriteria(Connection& c, qint16 objectId, const QStringList& names)
{
    c.exec(QStringLiteral("DELETE FROM tabKriteriyObj WHERE Id_obj = ?"), {objectId});
    for (const QString& n : names)
        c.exec(QStringLiteral("INSERT INTO tabKriteriyObj (Id_obj, Name) VALUES (?, ?)"), {objectId, n});
}

void WriteChosenLimit(Connection& c, qint16 objectId, int kind, const std::optional<IndividualLimit>& limit)
{
    if (limit && (!std::isfinite(limit->value) || limit->value <= 0 || limit->source.size() > kCriterionTextLength))
        throw std::invalid_argument("individual risk limit out of range");
    c.exec(QStringLiteral("DELETE FROM tabDopRisk WHERE Id_obj = ? AND Id_por = ?"), {objectId, kind});
    if (limit)
        c.exec(QStringLiteral("INSERT INTO tabDopRisk (Id_obj, Id_por, Znach, Source) VALUES (?, ?, ?, ?)"),
               {objectId, kind, limit->value, limit->source});
}

} // namespace

void SetChosenCriteria(Connection& c, qint16 objectId, const QStringList& names)
{
    Transaction t(c);
    WriteChosenCriteria(c, objectId, names);
    t.commit();
}

std::optional<IndividualLimit> ChosenLimit(Connection& c, qint16 objectId, int kind)
{
    const auto rows = c.select(
        QStringLiteral("SELECT Znach, Source FROM tabDopRisk WHERE Id_obj = %1 AND Id_por = %2").arg(objectId).arg(kind));
    if (rows.isEmpty() || FieldIsEmpty(rows.first(), "Znach"))
        return std::nullopt;
    return IndividualLimit{FieldDouble(rows.first(), "Znach"), FieldText(rows.first(), "Source")};
}

void SetChosenLimit(Connection& c, qint16 objectId, int kind, const std::optional<IndividualLimit>& limit)
{
    Transaction t(c);
    WriteChosenLimit(c, objectId, kind, limit);
    t.commit();
}

void SaveCriteriaChoices(Connection& c, qint16 objectId, const QStringList& names,
                         const std::array<std::optional<IndividualLimit>, 5>& limits)
{
    Transaction t(c);
    WriteChosenCriteria(c, objectId, names);
    for (int kind : {0, 1, 2, 4})
        WriteChosenLimit(c, objectId, kind, limits[size_t(kind)]);
    t.commit();
}

void DeleteCriteriaChoices(Connection& c, qint16 objectId)
{
    c.exec(QStringLiteral("DELETE FROM tabKriteriyObj WHERE Id_obj = ?"), {objectId});
    c.exec(QStringLiteral("DELETE FROM tabDopRisk WHERE Id_obj = ?"), {objectId});
}

void CopyCriteriaChoices(Connection& c, qint16 fromObjectId, qint16 toObjectId)
{
    c.exec(QStringLiteral("INSERT INTO tabKriteriyObj (Id_obj, Name) SELECT ?, Name FROM tabKriteriyObj "
                          "WHERE Id_obj = ?"),
           {toObjectId, fromObjectId});
    c.exec(QStringLiteral("INSERT INTO tabDopRisk (Id_obj, Id_por, Znach, Source) SELECT ?, Id_por, Znach, Source "
                          "FROM tabDopRisk WHERE Id_obj = ?"),
           {toObjectId, fromObjectId});
}

} // namespace zarnel
