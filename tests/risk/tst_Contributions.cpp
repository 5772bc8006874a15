// The scenarios' contributions to a kind's collective risk (expected damage), read through the build.

#include "core/TestHome.h"
#include "risk/Build.h"

#include <QTest>
#include <memory>

using namespace zarnel;

namespace {

struct Row {
    const char* number;
    const char* title;
    double frequency;
    double value;
};

QStringList Lines(const ContributionTable& t, int kind)
{
    QStringList lines;
    for (const auto& cells : ContributionTexts(t, kind))
        lines << QStringList(cells.begin(), cells.end()).join(QLatin1Char('|'));
    return lines.mid(1); // without the header
}

} // namespace

Q_DECLARE_METATYPE(QVector<Row>)
Q_DECLARE_METATYPE(ReadMode)

class ContributionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup() { m_home.reset(); }
    void handComputed_data();
    void handComputed();
    void captionsPerKind();

private:
    std::unique_ptr<testing::TestHome> m_home;
};

void ContributionsTest::handComputed_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<Row>>("rows");
    QTest::addColumn<QStringList>("expected");

    // 1 x 1E-4 and 3 x 2E-5: 1,6E-4 in all, 62,5 % and 37,5 %; the scenario that never happens adds nothing.
    QTest::newRow("fatalities with a zero frequency")
        << int(KindFatalities)
        << QVector<Row>{{"С2", "Пожар пролива", 2e-5, 3}, {"С3", "Взрыв", 0, 10}, {"С1", "Утечка", 1e-4, 1}}
        << QStringList{"С1|Утечка|1|1,000E-04|1,000E-04|62,5", "С2|Пожар пролива|3|2,000E-05|0,600E-04|37,5",
                       "С3|Взрыв|10|0|0|0,0", "Итого|||1,200E-04|1,600E-04|100,0"};
    // Three equal contributions of 2E-4: the larger value first, then by classification number; each share
    // rounds to 33,3 and the total says 100,0.
    QTest::newRow("ties of contribution and of value")
        << int(KindSevere)
        << QVector<Row>{{"Б", "", 1e-4, 2}, {"В", "", 5e-5, 4}, {"А", "", 1e-4, 2}}
        << QStringList{"В||4|0,500E-04|2,000E-04|33,3", "А||2|1,000E-04|2,000E-04|33,3",
                       "Б||2|1,000E-04|2,000E-04|33,3", "Итого|||2,500E-04|0,600E-03|100,0"};
    // 0,5 x 1E-3 and 2 x 1E-4 million roubles per year: 7E-4, 71,4 % and 28,6 %.
    QTest::newRow("damage") << int(KindDamage) << QVector<Row>{{"У2", "Разрушение", 1e-4, 2}, {"У1", "", 1e-3, 0.5}}
                            << QStringList{"У1||0,500|1,000E-03|0,500E-03|71,4", "У2|Разрушение|2,000|1,000E-04|2,000E-04|28,6",
                                           "Итого|||1,100E-03|0,700E-03|100,0"};
    QTest::newRow("no frequency at all: nothing to share")
        << int(KindLight) << QVector<Row>{{"С1", "", 0, 2}, {"С2", "", 0, 1}}
        << QStringList{"С1||2|0|0|", "С2||1|0|0|", "Итого|||0|0|"};
}

void ContributionsTest::handComputed()
{
    QFETCH(int, kind);
    QFETCH(QVector<Row>, rows);
    QFETCH(QStringList, expected);
    auto o = testing::object("Склад", 100);
    for (const Row& r : rows)
        o.scenario(QString::fromUtf8(r.number), r.frequency, *r.title ? QVariant(QString::fromUtf8(r.title)) : QVariant())
            .indicator(kind, r.value);

    Connection c;
    for (ReadMode mode : {ReadMode::Batched, ReadMode::StatementByStatement}) {
        const KindResult r = BuildKind(c, o.id(), kind, 100, mode);
        QVERIFY(r.ran);
        QCOMPARE(Lines(r.contributions, kind), expected);
        // The same sum as the collective risk the page shows, and shares that add up to 100 %.
        QVERIFY(testing::fuzzyEqual(r.contributions.total, r.riskSum));
        double shares = 0;
        for (const ContributionRow& row : r.contributions.rows)
            shares += row.share;
        QVERIFY(r.riskSum == 0 ? shares == 0 : testing::fuzzyEqual(shares, 100, 1e-12));
    }
}

void ContributionsTest::captionsPerKind()
{
    QCOMPARE(ContributionCaption(KindFatalities), "Вклад сценариев в коллективный риск гибели людей");
    QCOMPARE(ContributionCaption(KindSanitary), "Вклад сценариев в коллективный риск санитарных потерь");
    QCOMPARE(ContributionCaption(KindDamage), "Вклад сценариев в среднеожидаемый ущерб");
    const auto header = ContributionTexts({}, KindDamage).first();
    QCOMPARE(header[2], "Размер ущерба, g млн.руб");
    QCOMPARE(header[4], "Вклад, млн.руб./год");
}

QTEST_GUILESS_MAIN(ContributionsTest)
#include "tst_Contributions.moc"
