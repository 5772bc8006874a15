#include "risk/Contributions.h"

#include "core/Formats.h"
#include "risk/KindReader.h"
#include "risk/Kinds.h"

#include <QLocale>
#include <algorithm>

namespace zarnel {

ContributionTable ScenarioContributions(const QVector<IndicatorRow>& rows)
{
    ContributionTable t;
    t.rows.reserve(rows.size());
    for (const IndicatorRow& r : rows) {
        const double contribution = r.number * r.scenario.risk;
        t.rows.append({r.scenario.name, r.scenario.title, r.number, r.scenario.risk, contribution, 0});
        t.total += contribution;
        t.totalFrequency += r.scenario.risk;
    }
    std::stable_sort(t.rows.begin(), t.rows.end(), [](const ContributionRow& a, const ContributionRow& b) {
        if (a.contribution != b.contribution)
            return a.contribution > b.contribution;
        if (a.value != b.value)
            return a.value > b.value;
        return a.number.compare(b.number, Qt::CaseInsensitive) < 0;
    });
    if (t.total > 0)
        for (ContributionRow& r : t.rows)
            r.share = r.contribution / t.total * 100;
    return t;
}

namespace {

QString Frequency(double x)
{
    return x == 0 ? QStringLiteral("0") : FormatRiskValue(x);
}

QString Share(double percent, bool shared)
{
    return shared ? QLocale().toString(percent, 'f', 1) : QString();
}

struct KindTexts {
    const char* caption;
    const char* value;
    const char* contribution;
};

KindTexts TextsOf(int kind)
{
    switch (kind) {
    case KindFatalities:
        return {"Вклад сценариев в коллективный риск гибели людей", "Число погибших, n человек", "Вклад, чел./год"};
    case KindSevere:
        return {"Вклад сценариев в коллективный риск тяжелого поражения людей", "Число тяжело пораженных, n человек",
                "Вклад, чел./год"};
    case KindLight:
        return {"Вклад сценариев в коллективный риск легкого поражения людей", "Число легко пораженных, n человек",
                "Вклад, чел./год"};
    case KindSanitary:
        return {"Вклад сценариев в коллективный риск санитарных потерь", "Число санитарных потерь, n человек",
                "Вклад, чел./год"};
    default:
        return {"Вклад сценариев в среднеожидаемый ущерб", "Размер ущерба, g млн.руб", "Вклад, млн.руб./год"};
    }
}

} // namespace

QString ContributionCaption(int kind)
{
    return QString::fromUtf8(TextsOf(kind).caption);
}

QVector<std::array<QString, ContributionColumns>> ContributionTexts(const ContributionTable& t, int kind)
{
    const KindTexts texts = TextsOf(kind);
    const bool damage = KindInfoOf(kind).isDamage;
    const bool shared = t.total > 0;
    QVector<std::array<QString, ContributionColumns>> out;
    out.reserve(t.rows.size() + 2);
    out.append({QStringLiteral("Классификационный номер"), QStringLiteral("Наименование"), QString::fromUtf8(texts.value),
                QStringLiteral("Частота сценария, 1/год"), QString::fromUtf8(texts.contribution),
                QStringLiteral("Доля, %")});
    for (const ContributionRow& r : t.rows)
        out.append({r.number, r.title, damage ? Format000(r.value) : PlainNumber(r.value), Frequency(r.frequency),
                    Frequency(r.contribution), Share(r.share, shared)});
    out.append({QStringLiteral("Итого"), QString(), QString(), Frequency(t.totalFrequency), Frequency(t.total),
                Share(100, shared)});
    return out;
}

} // namespace zarnel
