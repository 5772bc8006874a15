#include "core/ObjectStore.h"
#include "core/TestHome.h"

#include <QRegularExpression>
#include <QTest>
#include <memory>

using namespace zarnel;
using testing::dumpTable;
using testing::object;

namespace {

// Fault injection: the n-th statement (from 1) whose text starts with g_failPrefix throws.
QString g_failPrefix;
int g_failCountdown = 0;

void failingHook(const QString& sql)
{
    if (!g_failPrefix.isEmpty() && sql.startsWith(g_failPrefix) && --g_failCountdown == 0)
        throw DbError(QStringLiteral("injected failure"), sql);
}

QStringList allRows()
{
    return dumpTable("tabObjekt") + QStringList{"--"} + dumpTable("tabScen") + QStringList{"--"} + dumpTable("tabRisk");
}

// Two objects with scenarios; the source's scenario keys have a gap (1, 3) and titles null, empty and set.
qint16 sourceFixture()
{
    const qint16 src = object("Склад", 150).id();
    Connection c;
    const QString ins = "INSERT INTO tabScen (Id_obj, Id, Name, Opis, Risk) VALUES (?, ?, ?, ?, ?)";
    c.exec(ins, {src, 1, "С1", QVariant(), 1e-4});
    c.exec(ins, {src, 3, "С3", "", 2.5e-6});
    c.exec(ins, {src, 4, "С4", "Пожар пролива", 0.1 + 0.2});
    const QString risk = "INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) VALUES (?, ?, ?, ?)";
    c.exec(risk, {src, 1, 0, 3.0});
    c.exec(risk, {src, 1, 3, 0.123456789012345});
    c.exec(risk, {src, 3, 1, 7.0});
    c.exec(risk, {src, 4, 4, 12.0});
    object("Цех", 20).scenario("Ц1", 1e-3).kills(1).damage(2);
    return src;
}

} // namespace

class tst_ObjectStore : public QObject {
    Q_OBJECT
    std::unique_ptr<testing::TestHome> home;

private Q_SLOTS:
    void init()
    {
        home = std::make_unique<testing::TestHome>();
        g_failPrefix.clear();
        SetExecHook(nullptr);
    }
    void cleanup()
    {
        SetExecHook(nullptr);
        home.reset();
    }

    void newKeyIsSmallestFree_data()
    {
        QTest::addColumn<int>("objects");
        QTest::addColumn<QList<int>>("deleted");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty database") << 0 << QList<int>{} << 1;
        QTest::newRow("no gap") << 3 << QList<int>{} << 4;
        QTest::newRow("object 2 of 1..3 deleted") << 3 << QList<int>{2} << 2;
        QTest::newRow("object 1 deleted") << 3 << QList<int>{1} << 1;
        QTest::newRow("two gaps, smallest first") << 5 << QList<int>{4, 2} << 2;
    }
    void newKeyIsSmallestFree()
    {
        QFETCH(int, objects);
        QFETCH(QList<int>, deleted);
        QFETCH(int, expected);
        for (int i = 1; i <= objects; ++i)
            object(QStringLiteral("Объект %1").arg(i), i);
        Connection c;
        for (int id : deleted)
            DeleteObject(c, qint16(id));
        const std::optional<qint16> id = CreateObject(c, "Новый", 5);
        QVERIFY(id);
        QCOMPARE(int(*id), expected);
        QCOMPARE(testing::countRows(
                     QStringLiteral("select * from tabObjekt where Id=%1 and Name='Новый' and People=5").arg(expected)),
                 1);
    }

    void noKeyLeftIsRefusedAndWritesNothing()
    {
        {
            Connection c;
            c.exec("INSERT INTO tabObjekt (Id, Name, People) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                   "SELECT i + 1 FROM n WHERE i < 32767) SELECT i, 'О' || i, 1 FROM n");
        }
        Connection c;
        QVERIFY(!FreeObjectId(c));
        QVERIFY(!CreateObject(c, "Лишний", 1));
        QVERIFY(!CopyObject(c, 1, "Лишний", 1));
        QCOMPARE(testing::countRows("select * from tabObjekt"), 32767);
        QCOMPARE(testing::countRows("select * from tabObjekt where Name='Лишний'"), 0);
    }

    void copyKeepsScenarioKeysAndIndicators()
    {
        const qint16 src = sourceFixture();
        const QStringList before = allRows();
        Connection c;
        const std::optional<qint16> copy = CopyObject(c, src, "Склад (копия)", 80);
        QVERIFY(copy);
        QCOMPARE(int(*copy), 3);

        // Every source row reappears under the new key, nothing else changes.
        QStringList expected = before;
        expected << "3|Склад (копия)|80";
        for (QString r : dumpTable("tabScen"))
            if (r.startsWith(QStringLiteral("%1|").arg(src)))
                expected << "3" + r.mid(r.indexOf('|')).replace("||", "|<null>|"); // empty title left unset
        for (const QString& r : dumpTable("tabRisk"))
            if (r.startsWith(QStringLiteral("%1|").arg(src)))
                expected << "3" + r.mid(r.indexOf('|'));
        const QStringList after = allRows();
        QCOMPARE(after.size(), expected.size());
        for (const QString& r : expected)
            QVERIFY2(after.contains(r), qPrintable(r));

        // Empty and missing titles both stay unset; values are copied bit for bit.
        const auto scen = c.select("select * from tabScen where Id_obj=3 order by Id");
        QCOMPARE(scen.size(), 3);
        QVERIFY(scen[0].isNull("Opis"));
        QVERIFY(scen[1].isNull("Opis"));
        QCOMPARE(FieldText(scen[2], "Opis"), QString("Пожар пролива"));
        QCOMPARE(FieldDouble(scen[2], "Risk"), 0.1 + 0.2);
        const auto dmg = c.select("select * from tabRisk where Id_obj=3 and Id_por=3");
        QCOMPARE(dmg.size(), 1);
        QCOMPARE(FieldDouble(dmg[0], "Number"), 0.123456789012345);
    }

    void deleteRemovesOnlyTheObjectsRows()
    {
        const qint16 src = sourceFixture();
        Connection c;
        const QStringList otherScen = dumpTable("tabScen").filter(QRegularExpression("^2\\|"));
        const QStringList otherRisk = dumpTable("tabRisk").filter(QRegularExpression("^2\\|"));
        DeleteObject(c, src);
        QCOMPARE(dumpTable("tabObjekt"), QStringList{"2|Цех|20"});
        QCOMPARE(dumpTable("tabScen"), otherScen);
        QCOMPARE(dumpTable("tabRisk"), otherRisk);
    }

    void failureHalfWayChangesNothing_data()
    {
        QTest::addColumn<bool>("copy");
        QTest::addColumn<QString>("failPrefix");
        QTest::addColumn<int>("nth");
        QTest::newRow("delete: at the scenarios") << false << "DELETE FROM tabScen" << 1;
        QTest::newRow("delete: at the indicators") << false << "DELETE FROM tabRisk" << 1;
        QTest::newRow("copy: at the second scenario") << true << "INSERT INTO tabScen" << 2;
        QTest::newRow("copy: at the first indicator") << true << "INSERT INTO tabRisk" << 1;
        QTest::newRow("copy: at the last indicator") << true << "INSERT INTO tabRisk" << 4;
    }
    void failureHalfWayChangesNothing()
    {
        QFETCH(bool, copy);
        QFETCH(QString, failPrefix);
        QFETCH(int, nth);
        const qint16 src = sourceFixture();
        const QStringList before = allRows();
        g_failPrefix = failPrefix;
        g_failCountdown = nth;
        SetExecHook(failingHook);
        {
            Connection c;
            QVERIFY_THROWS_EXCEPTION(DbError, copy ? void(CopyObject(c, src, "Копия", 1)) : DeleteObject(c, src));
        }
        QCOMPARE(g_failCountdown, 0); // the failure did happen half-way
        SetExecHook(nullptr);
        QCOMPARE(allRows(), before);
    }

    void namesCompareAsTheDatabaseDoes_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("found");
        QTest::newRow("same text") << "Склад ГСМ"
                                   << "Склад ГСМ" << true;
        QTest::newRow("Cyrillic upper case") << "Склад ГСМ"
                                             << "СКЛАД ГСМ" << true;
        QTest::newRow("Cyrillic lower case") << "Склад ГСМ"
                                             << "склад гсм" << true;
        QTest::newRow("Ё and ё") << "Ёмкость"
                                 << "ёМКОСТЬ" << true;
        QTest::newRow("quote") << "Завод 'Восток'"
                               << "завод 'ВОСТОК'" << true;
        QTest::newRow("quote only in the question") << "Завод Восток"
                                                    << "Завод 'Восток'" << false;
        QTest::newRow("injection text") << "Склад"
                                        << "x' or '1'='1" << false;
        QTest::newRow("prefix is another name") << "Склад ГСМ"
                                                << "Склад" << false;
    }
    void namesCompareAsTheDatabaseDoes()
    {
        QFETCH(QString, stored);
        QFETCH(QString, asked);
        QFETCH(bool, found);
        object("Другой", 1);
        const qint16 id = object(stored, 1).id();
        Connection c;
        const std::optional<qint16> hit = FindObjectByName(c, asked);
        QCOMPARE(hit.has_value(), found);
        if (found)
            QCOMPARE(*hit, id);
    }

    void peopleCount_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("expected"); // -1: refused
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("blanks around") << " 15 " << 15;
        QTest::newRow("leading zeros") << "0007" << 7;
        QTest::newRow("largest") << "32767" << 32767;
        QTest::newRow("overflow") << "32768" << -1;
        QTest::newRow("far overflow") << "99999999999999999999" << -1;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("fraction with comma") << "1,5" << -1;
        QTest::newRow("fraction with dot") << "2.0" << -1;
        QTest::newRow("exponent") << "1E3" << -1;
        QTest::newRow("letters") << "двадцать" << -1;
        QTest::newRow("digits and letters") << "12чел" << -1;
        QTest::newRow("blank") << "   " << -1;
        QTest::newRow("non-Latin digits") << "١٢" << -1;
    }
    void peopleCount()
    {
        QFETCH(QString, typed);
        QFETCH(int, expected);
        const std::optional<qint16> n = ParsePeopleCount(typed);
        QCOMPARE(n ? int(*n) : -1, expected);
    }
};

QTEST_GUILESS_MAIN(tst_ObjectStore)
#include "tst_ObjectStore.moc"
