// The build over a database: result tables, chart calls, which kinds run, the shared chart data, entry checks,
// and the batched reading against the statement-by-statement one.

#include "core/Formats.h"
#include "core/RecordingChartSink.h"
#include "core/Shared.h"
#include "core/TestHome.h"
#include "risk/Build.h"

#include <QFileInfo>
#include <QTest>
#include <memory>

using namespace zarnel;

using Flags = std::array<bool, 4>;
using Pages = std::array<bool, 5>;
Q_DECLARE_METATYPE(Flags)
Q_DECLARE_METATYPE(Pages)

namespace {

QStringList TableRows(const ResultTable& t)
{
    QStringList rows;
    for (int r = 1; r < t.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < ResultTable::Columns; ++c)
            cells << t.text(r, c);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QVector<int> Heights(const ResultTable& t)
{
    QVector<int> h;
    for (int r = 0; r < t.rowCount(); ++r)
        h << t.rowHeight(r);
    return h;
}

QStringList Described(const ChartPlan& plan)
{
    testing::RecordingChartSink sink;
    ReplayChartPlan(plan, sink);
    return sink.calls;
}

QStringList Texts(const AxisTexts& t)
{
    return {t.minX, t.maxX, t.minY, t.maxY};
}

QString N(double v)
{
    return QString::number(v, 'g', 17);
}

void RawIndicator(qint16 obj, qint16 scen, int kind, const QVariant& number)
{
    Connection c;
    c.exec(QStringLiteral("INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) VALUES (?, ?, ?, ?)"),
           {obj, scen, kind, number});
}

BuildResult Build(qint16 obj, const Flags& grids, double people = 200)
{
    Connection c;
    return BuildAll(c, obj, grids, people);
}

} // namespace

class RiskBuildTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The fixtures commit row by row; a memory-backed temporary folder keeps that quick.
        if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
            qputenv("TMPDIR", "/dev/shm");
    }
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup() { m_home.reset(); }

    void resultTableGroupsEqualValues();
    void resultTableDamageAndHeights();
    void stepAndPolygonCalls();
    void kindsThatRun_data();
    void kindsThatRun();
    void sharedChartData();
    void failedBuildChangesNothing();
    void batchedReadingAgreesWithStatements();
    void entryChecks_data();
    void entryChecks();

private:
    std::unique_ptr<testing::TestHome> m_home;
};

void RiskBuildTest::resultTableGroupsEqualValues()
{
    testing::object("Другой", 10).scenario("X1", 0.5).kills(3).scenario("X2", 0.5).kills(1);
    auto o = testing::object("Склад", 200);
    o.scenario("C1", 1e-4).kills(1);
    o.scenario("C2", 2e-5).kills(3);
    o.scenario("C3", 3e-5).kills(3);
    const qint16 obj = o.id();
    const BuildResult b = Build(obj, {true, false, false, false});
    QVERIFY(b.ok);
    const KindResult& k = b.kinds[KindFatalities];
    QVERIFY(k.ran);
    QCOMPARE(k.table.text(0, 0), QStringLiteral("Число погибших, n человек"));
    QCOMPARE(k.table.text(0, 4),
             QStringLiteral("Частота событий (число случаев/год), в которых погибло не менее n человек"));
    QCOMPARE(k.table.columnWidths, (std::array<int, 5>{1350, 3600, 2700, 3600, 2700}));
    const QString both = FormatRiskValue(2e-5 + 3e-5);
    QCOMPARE(TableRows(k.table), QStringList({
                                     "1|C1|1,000E-04|C1, C2, C3|" + FormatRiskValue(1e-4 + 2e-5 + 3e-5),
                                     "3|C2|2,000E-05||",
                                     "3|C3|3,000E-05||",
                                     "Итого|C2, C3|" + both + "|C2, C3|" + both,
                                 }));
    QCOMPARE(Heights(k.table), QVector<int>({700, 250, 0, 0, 250}));
    QCOMPARE(k.collectiveText, QStringLiteral("2,500E-04"));
    QCOMPARE(k.individualText, QStringLiteral("1,250E-06"));
}

void RiskBuildTest::resultTableDamageAndHeights()
{
    const QString a(44, QLatin1Char('A')), b(20, QLatin1Char('B')), c(20, QLatin1Char('C')), d(10, QLatin1Char('D'));
    auto o = testing::object("Склад", 0);
    o.scenario(a, 1e-4).severe(9).damage(2);
    o.scenario(b, 1e-4).severe(5).damage(0.5);
    o.scenario(c, 1e-4).severe(5);
    o.scenario(d, 1e-3).severe(1).damage(0.5);
    const qint16 obj = o.id();
    const BuildResult r = Build(obj, {false, true, false, true}, 0);
    QVERIFY(r.ok);

    // List lengths 100, 44 + 2 + 42 = 88 (and 42 exactly), 44: heights 750, 500, 250.
    const KindResult& severe = r.kinds[KindSevere];
    QCOMPARE(Heights(severe.table), QVector<int>({700, 750, 0, 0, 500, 250}));
    QCOMPARE(severe.table.text(1, 3), d + ", " + b + ", " + c + ", " + a);
    QCOMPARE(severe.table.text(4, 1), b + ", " + c);
    QCOMPARE(severe.individualText, QStringLiteral("не расчитан"));

    // Damage values written with three decimals and found by their four-decimal query text.
    const KindResult& damage = r.kinds[KindDamage];
    QCOMPARE(damage.table.text(0, 0), QStringLiteral("Размер ущерба, g млн.руб"));
    QCOMPARE(damage.table.columnWidths, (std::array<int, 5>{1350, 3300, 2700, 3300, 2700}));
    QCOMPARE(TableRows(damage.table), QStringList({
                                          "0,500|" + b + "|1,000E-04||",
                                          "0,500|" + d + "|1,000E-03||",
                                          "Итого|" + b + ", " + d + "|" + FormatRiskValue(1e-4 + 1e-3) + "|" + b +
                                              ", " + d + ", " + a + "|" + FormatRiskValue(1e-4 + 1e-3 + 1e-4),
                                          "2,000|" + a + "|1,000E-04|" + a + "|1,000E-04",
                                      }));
    QCOMPARE(damage.collectiveText, FormatRiskValue(2 * 1e-4 + 0.5 * (1e-4 + 1e-3)));
    QCOMPARE(damage.individualText, QString());
    QCOMPARE(damage.stepBoxes.minX, QStringLiteral("0,500"));
    QCOMPARE(damage.stepBoxes.maxX, QStringLiteral("2,000"));

    // Sanitary losses have no rows here although the severe kind ran: the kind does not run.
    QVERIFY(!r.kinds[KindSanitary].ran);
    QVERIFY(!r.pageAvailable[3]);
}

void RiskBuildTest::stepAndPolygonCalls()
{
    auto o = testing::object("Склад", 200);
    o.scenario("C1", 0.5).kills(10);
    o.scenario("C2", 0.25).kills(7);
    o.scenario("C3", 0.125).kills(3);
    const qint16 obj = o.id();
    const KindResult k = Build(obj, {true, false, false, false}).kinds[KindFatalities];

    // Step rows: (10, F1), (7, F1), (7, F2), (3, F2), (3, F3).
    const double f1 = 0.5, f2 = 0.75, f3 = 0.875;
    QCOMPARE(Described(k.stepPlan), QStringList({
                                        "ClearChart",
                                        "minx=2",
                                        "maxx=11",
                                        "tickfreqx=10",
                                        "miny=" + N(f1 - f1 / 10),
                                        "maxy=" + N(f3 + f3 / 10),
                                        "tickfreqy=10",
                                        "ProcessEvents",
                                        "MoveTo(3, 0.875)",
                                        "LineTo(3, 0.875, 3, 0)",
                                        "DrawBullet(3, 0.875, 11, 255)",
                                        "MoveTo(3, 0.75)",
                                        "LineTo(7, 0.75, 3, 0)",
                                        "DrawBullet(7, 0.75, 11, 255)",
                                        "MoveTo(7, 0.75)",
                                        "MoveTo(7, 0.5)",
                                        "LineTo(10, 0.5, 3, 0)",
                                        "DrawBullet(10, 0.5, 11, 255)",
                                        "MoveTo(10, 0.5)",
                                        "PlotCurve[(10, 0.5), (7, 0.5), (7, 0.75), (3, 0.75), (3, 0.875)]",
                                        "Redraw",
                                        "ProcessEvents",
                                    }));
    Q_UNUSED(f2);
    QCOMPARE(Described(k.polygonPlan), QStringList({
                                           "ClearChart",
                                           "polygonflag=True",
                                           "minx=2",
                                           "maxx=11",
                                           "tickfreqx=10",
                                           "miny=" + N(0.125 - 0.125 / 10),
                                           "maxy=" + N(0.5 + 0.5 / 10),
                                           "tickfreqy=10",
                                           "ProcessEvents",
                                           "PlotCurve[(3, 0.125), (7, 0.25), (10, 0.5)]",
                                           "DrawBullet(3, 0.125, 11, 0)",
                                           "DrawBullet(7, 0.25, 11, 0)",
                                           "DrawBullet(10, 0.5, 11, 0)",
                                           "Redraw",
                                           "ProcessEvents",
                                       }));
    QCOMPARE(Texts(k.stepBoxes), QStringList({"2", "11", "4,500E-01", "0,963"}));
    QCOMPARE(Texts(k.polygonBoxes), QStringList({"2", "11", "1,125E-01", "0,550"}));
}

void RiskBuildTest::kindsThatRun_data()
{
    QTest::addColumn<Flags>("grids");
    QTest::addColumn<Pages>("pages");

    QTest::newRow("only fatalities") << Flags{true, false, false, false} << Pages{true, false, false, false, false};
    QTest::newRow("only light injuries") << Flags{false, false, true, false} << Pages{false, false, true, true, false};
    QTest::newRow("fatalities and damage") << Flags{true, false, false, true} << Pages{true, false, false, false, true};
    QTest::newRow("severe grid without rows")
        << Flags{false, true, false, false} << Pages{false, false, false, false, false};
}

void RiskBuildTest::kindsThatRun()
{
    QFETCH(Flags, grids);
    QFETCH(Pages, pages);
    // Every kind but severe injuries has rows.
    const qint16 obj =
        testing::object("Склад", 200).scenario("C1", 1e-4).kills(1).light(2).sanitary(2).damage(0.5).id();
    const BuildResult r = Build(obj, grids);
    QVERIFY(r.ok);
    QCOMPARE(r.pageAvailable, pages);
    for (int kind = 0; kind < KindCount; ++kind)
        QCOMPARE(r.kinds[kind].ran, pages[KindInfoOf(kind).outerPage]);
}

void RiskBuildTest::sharedChartData()
{
    auto fullBuilder = testing::object("Склад", 200);
    fullBuilder.scenario("C1", 1e-4).kills(3).damage(0.5);
    fullBuilder.scenario("C2", 2e-4).kills(1).damage(2);
    const qint16 full = fullBuilder.id();
    auto smallBuilder = testing::object("Цех", 200);
    smallBuilder.scenario("D1", 1e-3).kills(5);
    const qint16 small = smallBuilder.id();

    QVERIFY(Build(full, {true, false, false, true}).ok);
    QCOMPARE(ChartPointCount[1], 3);
    QCOMPARE(ChartPoints[1], QVector<QPointF>({{3, 1e-4}, {1, 1e-4}, {1, 1e-4 + 2e-4}}));
    QCOMPARE(ChartPointCount[2], 2);
    QCOMPARE(ChartPoints[2], QVector<QPointF>({{1, 2e-4}, {3, 1e-4}}));
    QCOMPARE(ChartPointCount[10], 2);
    QCOMPARE(ChartPoints[10], QVector<QPointF>({{0.5, 1e-4}, {2, 2e-4}}));
    // The distribution left behind is the damage kind's, processed last.
    QCOMPARE(DistRowCount, 3);
    QCOMPARE(DistTable.first(), (DistRow{2, 2e-4, 2e-4}));

    // A second build without damage leaves the damage charts' points as they were.
    QVERIFY(Build(small, {true, false, false, false}).ok);
    QCOMPARE(ChartPoints[1], QVector<QPointF>({{5, 1e-3}}));
    QCOMPARE(ChartPointCount[1], 1);
    QCOMPARE(ChartPoints[10], QVector<QPointF>({{0.5, 1e-4}, {2, 2e-4}}));
    QCOMPARE(ChartPointCount[9], 3);
    QCOMPARE(DistRowCount, 1);
}

void RiskBuildTest::failedBuildChangesNothing()
{
    auto o = testing::object("Склад", 200);
    o.scenario("C1", 1e-4).kills(3);
    const qint16 obj = o.id();
    QVERIFY(Build(obj, {true, false, false, false}).ok);
    const auto points = ChartPoints;
    const auto counts = ChartPointCount;

    testing::object("Цех", 200).scenario("D1", 1e-3).kills(5).severe(1);
    Connection c;
    // The server keeps tabRisk tied to tabScen: the tie goes with it.
    c.exec(testing::onServer() ? QStringLiteral("DROP TABLE tabScen CASCADE") : QStringLiteral("DROP TABLE tabScen"));
    const BuildResult r = BuildAll(c, obj + 1, {true, true, false, false}, 200);
    QVERIFY(!r.ok);
    QVERIFY(r.error.text.startsWith(QStringLiteral("Ошибка чтения базы данных")));
    QCOMPARE(r.error.title, QStringLiteral("Внимание!!!"));
    QCOMPARE(ChartPoints, points);
    QCOMPARE(ChartPointCount, counts);
}

void RiskBuildTest::batchedReadingAgreesWithStatements()
{
    // Ties, a value shared by three scenarios, orphan and null indicator rows, close damage values, and another
    // object whose scenarios have the same keys.
    testing::object("Другой", 10).scenario("X1", 0.5).kills(3).damage(0.5).scenario("X2", 0.5).kills(12).light(2);
    auto o = testing::object("Склад", 150);
    o.scenario("С1", 1e-4).kills(12).severe(3).light(1).sanitary(4).damage(2.5);
    o.scenario("С2", 2e-5).kills(12).severe(1).light(7).sanitary(8).damage(2.501);
    o.scenario("С3", 3e-5).kills(1).severe(3).sanitary(3).damage(0.5);
    o.scenario("С4", 4e-6, "Пожар").kills(12).light(7).sanitary(7).damage(2.5);
    o.scenario("С5", 0).kills(2).damage(0.00004);
    o.scenario("С6", 1e-7).kills(12).severe(3).sanitary(3).damage(40);
    RawIndicator(o.id(), 3, KindLight, QVariant()); // no value
    // An embedded database may hold rows the server's keys refuse: an indicator without its scenario, and a
    // second row of a kind.
    if (!testing::onServer()) {
        RawIndicator(o.id(), 99, KindFatalities, 5);
        RawIndicator(o.id(), 1, KindLight, QVariant());
    }
    {
        Connection c;
        c.exec(QStringLiteral("INSERT INTO tabScen (Id_obj, Id, Name, Risk) VALUES (?, ?, ?, ?)"),
               {o.id(), 7, QStringLiteral("С7"), QVariant()}); // no frequency
    }
    RawIndicator(o.id(), 7, KindSevere, 3);

    Connection c;
    for (int kind : ProcessingOrder) {
        const KindResult a = BuildKind(c, o.id(), kind, 150, ReadMode::Batched);
        const KindResult b = BuildKind(c, o.id(), kind, 150, ReadMode::StatementByStatement);
        QVERIFY2(a.ran, qPrintable(QString::number(kind)));
        QCOMPARE(a.dist, b.dist);
        QCOMPARE(a.stepPlan, b.stepPlan);
        QCOMPARE(a.polygonPlan, b.polygonPlan);
        QCOMPARE(Texts(a.stepBoxes), Texts(b.stepBoxes));
        QCOMPARE(Texts(a.polygonBoxes), Texts(b.polygonBoxes));
        QCOMPARE(TableRows(a.table), TableRows(b.table));
        QVERIFY(a.table == b.table);
        QCOMPARE(a.collectiveText, b.collectiveText);
        QCOMPARE(a.individualText, b.individualText);
    }

    // The orphan row and the null value take no part; nothing of the other object appears.
    const KindResult kills = BuildKind(c, o.id(), KindFatalities, 150);
    QCOMPARE(kills.distinctCount(), 3);
    QCOMPARE(kills.table.text(1, 3), QStringLiteral("С3, С5, С1, С2, С4, С6"));
    QCOMPARE(TableRows(kills.table).filter(QStringLiteral("X")), QStringList());
    const KindResult light = BuildKind(c, o.id(), KindLight, 150);
    QCOMPARE(light.polygonCurve, QVector<QPointF>({{1, 1e-4}, {7, 2e-5 + 4e-6}}));
    // A scenario without a frequency counts as one of frequency 0.
    const KindResult severe = BuildKind(c, o.id(), KindSevere, 150);
    QVERIFY(TableRows(severe.table).contains(QStringLiteral("3|С7|||")));
}

void RiskBuildTest::entryChecks_data()
{
    QTest::addColumn<QString>("people");
    QTest::addColumn<Flags>("grids");
    QTest::addColumn<bool>("direct");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("peopleAtRisk");

    const Flags some{false, false, true, false};
    const Flags none{false, false, false, false};
    QTest::newRow("people given") << "200" << some << false << int(EntryCheck::Proceed) << 200;
    QTest::newRow("no people, asked") << "0" << some << false << int(EntryCheck::AskPeople) << 0;
    QTest::newRow("empty people, asked") << "" << some << false << int(EntryCheck::AskPeople) << 0;
    QTest::newRow("no people, direct build") << "0" << some << true << int(EntryCheck::Proceed) << 0;
    QTest::newRow("blanks around") << " 12 " << some << false << int(EntryCheck::Proceed) << 12;
    // The object dialog's rule: a fraction of a person is refused, not rounded.
    QTest::newRow("fraction below a half") << "0,4" << some << false << int(EntryCheck::PeopleInvalid) << -1;
    QTest::newRow("fraction of a person") << "2,5" << some << false << int(EntryCheck::PeopleInvalid) << -1;
    QTest::newRow("fraction with a dot") << "150.7" << some << false << int(EntryCheck::PeopleInvalid) << -1;
    QTest::newRow("nothing entered") << "200" << none << false << int(EntryCheck::NothingEntered) << 200;
    QTest::newRow("people not a number") << "много" << some << false << int(EntryCheck::PeopleInvalid) << -1;
    QTest::newRow("people over 32767") << "32768" << some << false << int(EntryCheck::PeopleInvalid) << -1;
    QTest::newRow("negative people") << "-5" << some << false << int(EntryCheck::PeopleInvalid) << -1;
    QTest::newRow("invalid before nothing entered") << "abc" << none << false << int(EntryCheck::PeopleInvalid) << -1;
}

void RiskBuildTest::entryChecks()
{
    QFETCH(QString, people);
    QFETCH(Flags, grids);
    QFETCH(bool, direct);
    QFETCH(int, outcome);
    QFETCH(int, peopleAtRisk);

    PeopleAtRisk = -1;
    const EntryCheck e = CheckEntry({people, grids, direct});
    QCOMPARE(int(e.outcome), outcome);
    QCOMPARE(int(PeopleAtRisk), peopleAtRisk);
    switch (e.outcome) {
    case EntryCheck::Proceed:
        QCOMPARE(e.peopleValue, double(peopleAtRisk)); // the divisor of the individual risk
        break;
    case EntryCheck::AskPeople:
        QCOMPARE(e.message.text, QStringLiteral("Не введено общее количество людей в зоне риска!!! Индивидуальный "
                                                "риск не будет расчитан! Продолжить?"));
        QCOMPARE(e.message.title, QStringLiteral("В н и м а н и е ! ! !"));
        QCOMPARE(e.message.buttons, UserMessage::YesNo);
        break;
    case EntryCheck::NothingEntered:
        QCOMPARE(e.message.text, QStringLiteral("Построение диаграмм не возможно! Не введен ни один показатель!"));
        QCOMPARE(e.message.title, QStringLiteral("Внимание!!!"));
        QCOMPARE(e.message.buttons, UserMessage::Ok);
        break;
    case EntryCheck::PeopleInvalid:
        QCOMPARE(e.message.text, QStringLiteral("Число людей в зоне риска должно быть целым числом от 0 до 32767!"));
        QCOMPARE(e.message.title, QStringLiteral("Внимание!!!"));
        QCOMPARE(e.message.buttons, UserMessage::Ok);
        break;
    }
}

QTEST_GUILESS_MAIN(RiskBuildTest)
#include "tst_RiskBuild.moc"
