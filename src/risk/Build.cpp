#include "risk/Build.h"

#include "core/Formats.h"
#include "core/ObjectStore.h"
#include "core/Shared.h"
#include "risk/Distribution.h"
#include "risk/KindReader.h"

namespace zarnel {

QVector<DistRow> DistTable;
int DistRowCount = 0;
std::array<QVector<QPointF>, 11> ChartPoints;
std::array<int, 11> ChartPointCount{};

EntryCheck CheckEntry(const BuildInput& input)
{
    EntryCheck e;
    // An empty box means the number of people is not given, like 0.
    const QString text = input.peopleText.trimmed();
    if (!text.isEmpty()) {
        // The same rule as for the number stored with the object: a fraction of a person is no count.
        const std::optional<qint16> people = ParsePeopleCount(text);
        if (!people) {
            e.outcome = EntryCheck::PeopleInvalid;
            e.message = {QStringLiteral("Число людей в зоне риска должно быть целым числом от 0 до 32767!"),
                         QStringLiteral("Внимание!!!"), UserMessage::Ok};
            return e;
        }
        e.peopleAtRisk = *people;
        e.peopleValue = *people;
    }
    PeopleAtRisk = e.peopleAtRisk;

    const auto& g = input.inputGridVisible;
    if (!(g[0] || g[1] || g[2] || g[3])) {
        e.outcome = EntryCheck::NothingEntered;
        e.message = {QStringLiteral("Построение диаграмм не возможно! Не введен ни один показатель!"),
                     QStringLiteral("Внимание!!!"), UserMessage::Ok};
    } else if (e.peopleValue == 0 && !input.directBuild) {
        e.outcome = EntryCheck::AskPeople;
        e.message = {QStringLiteral("Не введено общее количество людей в зоне риска!!! Индивидуальный риск не будет "
                                    "расчитан! Продолжить?"),
                     QStringLiteral("В н и м а н и е ! ! !"), UserMessage::YesNo};
    }
    return e;
}

namespace {

KindResult BuildKindWith(KindReader& reader, int kind, double peopleValue)
{
    KindResult r;
    r.kind = kind;
    const QVector<IndicatorRow> rows = reader.descending();
    Accumulate(r, rows);
    if (r.dist.isEmpty())
        return r; // no data: the kind does not run
    r.ran = true;
    PlanCharts(r);
    FillResultTable(r, reader, rows.size());
    SetIndicatorTexts(r, peopleValue);
    r.contributions = ScenarioContributions(rows);
    return r;
}

} // namespace

KindResult BuildKind(Connection& c, qint16 objectId, int kind, double peopleValue, ReadMode mode)
{
    const auto reader = MakeKindReader(mode, c, objectId, kind, nullptr);
    return BuildKindWith(*reader, kind, peopleValue);
}

BuildResult BuildAll(Connection& c, qint16 objectId, const std::array<bool, 4>& inputGridVisible, double peopleValue,
                     ReadMode mode)
{
    BuildResult result;
    result.peopleValue = peopleValue;
    try {
        // Another engineer's change in the middle of the build would mix two states of the object.
        const ReadSnapshot snapshot(c);
        std::shared_ptr<const ScenarioCache> scenarios;
        for (int kind : ProcessingOrder) {
            KindResult& r = result.kinds[kind];
            r.kind = kind;
            const bool runs = kind == KindSanitary ? result.kinds[KindSevere].ran || result.kinds[KindLight].ran
                                                   : inputGridVisible[kind];
            if (runs) {
                if (mode == ReadMode::Batched && !scenarios)
                    scenarios = std::make_shared<ScenarioCache>(c, objectId);
                const auto reader = MakeKindReader(mode, c, objectId, kind, scenarios);
                r = BuildKindWith(*reader, kind, peopleValue);
            }
            result.pageAvailable[KindInfoOf(kind).outerPage] = r.ran;
        }
    } catch (const DbError& e) {
        BuildResult failed;
        failed.ok = false;
        failed.error = {QStringLiteral("Ошибка чтения базы данных при построении диаграмм:\n") + DbFailureReason(e.cause),
                        QStringLiteral("Внимание!!!"), UserMessage::Ok};
        return failed;
    }

    for (int kind : ProcessingOrder) {
        const KindResult& r = result.kinds[kind];
        if (!r.ran)
            continue;
        const KindInfo info = KindInfoOf(kind);
        ChartPoints[info.stepChart] = r.stepCurve;
        ChartPointCount[info.stepChart] = int(r.stepCurve.size());
        ChartPoints[info.polygonChart] = r.polygonCurve;
        ChartPointCount[info.polygonChart] = int(r.polygonCurve.size());
        DistTable = r.dist;
        DistRowCount = r.rowCount();
    }
    return result;
}

} // namespace zarnel
