// The criteria tables: created beside the five without touching them, the user's lines with their checks,
// each object's choices.

#include "core/CriteriaStore.h"
#include "core/Formats.h"
#include "core/TestHome.h"

#include <QTest>

using namespace zarnel;
using testing::dumpTable;

namespace {

CriterionLine UserLine(const QString& name)
{
    CriterionLine l;
    l.name = name;
    l.c = 1e-4;
    l.alpha = 1;
    l.n1 = 1;
    l.kinds = 1u | (1u << 4);
    l.colour = 0x123456;
    l.source = QStringLiteral("Ведомственный стандарт");
    return l;
}

} // namespace

class tst_CriteriaStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { SetRussianLocale(); }
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup() { m_home.reset(); }

    void tablesAddedWithoutTouchingTheFive()
    {
        testing::object(QStringLiteral("Склад"), 10).scenario(QStringLiteral("С1"), 1e-4).kills(3);
        QStringList before;
        for (const char* t : {"tabObjekt", "tabScen", "tabRisk", "tabNumber", "tabOtchet"})
            before << dumpTable(QString::fromLatin1(t));
        Connection c;
        EnsureCriteriaTables(c);
        EnsureCriteriaTables(c); // a second time finds them
        QStringList after;
        for (const char* t : {"tabObjekt", "tabScen", "tabRisk", "tabNumber", "tabOtchet"})
            after << dumpTable(QString::fromLatin1(t));
        QCOMPARE(after, before);
        const QStringList tables = c.database().tables();
        for (const char* t : {"tabKriteriy", "tabKriteriyObj", "tabDopRisk"})
            QVERIFY2(tables.contains(QString::fromLatin1(t), Qt::CaseInsensitive), t);
    }

    void builtInLinesAreTheVerifiedOnes()
    {
        const QVector<CriterionLine>& b = BuiltInCriteria();
        QCOMPARE(b.size(), 4);
        QCOMPARE(b[0].name, QStringLiteral("Нидерланды (ориентировочное значение)"));
        QCOMPARE(b[0].c, 1e-3);
        QCOMPARE(b[0].alpha, 2.0);
        QCOMPARE(b[0].n1, 10.0);
        QVERIFY(!b[0].n2);
        QCOMPARE(b[1].c, 1e-5);
        QCOMPARE(b[2].name, QStringLiteral("Дания"));
        QCOMPARE(b[2].n1, 1.0);
        QCOMPARE(b[3].name, QStringLiteral("Великобритания (R2P2, N = 50)"));
        QCOMPARE(b[3].alpha, 0.0);
        QCOMPARE(b[3].n1, 50.0);
        QCOMPARE(b[3].n2.value_or(0), 50.0);
        for (const CriterionLine& l : b) {
            QVERIFY(l.builtIn);
            QVERIFY(!l.source.isEmpty());
            QVERIFY(l.appliesTo(0));
        }
        QCOMPARE(BuiltInIndividualLimit().value, 1e-6);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name") << "name" << 0.0 << QStringLiteral("Введите название критерия!");
        QTest::newRow("duplicate of a built-in, other case")
            << "builtin" << 0.0 << QStringLiteral("Критерий «дания» уже есть: выберите другое название!");
        QTest::newRow("duplicate of the user's") << "dup" << 0.0
                                                 << QStringLiteral("Критерий «мой» уже есть: выберите другое название!");
        QTest::newRow("C zero") << "c" << 0.0 << QStringLiteral("Значение C должно быть положительным числом!");
        QTest::newRow("C not a number") << "c" << qQNaN() << QStringLiteral("Значение C должно быть положительным числом!");
        QTest::newRow("alpha negative") << "alpha" << -1.0
                                        << QStringLiteral("Показатель α должен быть неотрицательным числом!");
        QTest::newRow("N1 below 1") << "n1" << 0.5 << QStringLiteral("Нижняя граница N1 должна быть числом не меньше 1!");
        QTest::newRow("N2 below N1") << "n2" << 0.5
                                     << QStringLiteral("Верхняя граница N2 должна быть не меньше нижней границы N1!");
        QTest::newRow("no kind") << "kinds" << 0.0
                                 << QStringLiteral("Отметьте хотя бы один вид последствий, к которому относится "
                                                   "критерий!");
        QTest::newRow("source too long") << "source" << 0.0 << QStringLiteral("Источник не должен быть длиннее 255 знаков!");
    }

    void refusals()
    {
        QFETCH(QString, field);
        QFETCH(double, value);
        QFETCH(QString, message);
        Connection c;
        EnsureCriteriaTables(c);
        SaveCriterion(c, UserLine(QStringLiteral("Мой")), {});
        const QStringList before = dumpTable(QStringLiteral("tabKriteriy"));

        CriterionLine l = UserLine(QStringLiteral("Другой"));
        if (field == "name")
            l.name = QStringLiteral("  ");
        else if (field == "builtin")
            l.name = QStringLiteral("дания");
        else if (field == "dup")
            l.name = QStringLiteral("мой");
        else if (field == "c")
            l.c = value;
        else if (field == "alpha")
            l.alpha = value;
        else if (field == "n1")
            l.n1 = value;
        else if (field == "n2")
            l.n2 = value;
        else if (field == "kinds")
            l.kinds = 0;
        else if (field == "source")
            l.source = QString(256, QLatin1Char('x'));
        QCOMPARE(CheckCriterion(c, l, {}).value_or(QString()), message);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, SaveCriterion(c, l, {}));
        QCOMPARE(dumpTable(QStringLiteral("tabKriteriy")), before);
    }

    void userLineRoundTripAndRenameKeepsChoices()
    {
        Connection c;
        EnsureCriteriaTables(c);
        CriterionLine l = UserLine(QStringLiteral("Мой"));
        l.n2 = 100;
        SaveCriterion(c, l, {});
        SetChosenCriteria(c, 1, {QStringLiteral("мой"), QStringLiteral("Дания")});
        SetChosenCriteria(c, 2, {QStringLiteral("Мой")});
        QCOMPARE(ChosenCriteria(c, 1), (QStringList{QStringLiteral("Дания"), QStringLiteral("Мой")}));

        // Keeping its own name in another case is no duplicate; the objects keep showing it.
        l.name = QStringLiteral("Наш");
        l.c = 2e-4;
        SaveCriterion(c, l, QStringLiteral("Мой"));
        const auto found = FindCriterion(c, QStringLiteral("НАШ"));
        QVERIFY(found);
        QCOMPARE(found->c, 2e-4);
        QCOMPARE(found->n2.value_or(0), 100.0);
        QCOMPARE(found->kinds, 1u | (1u << 4));
        QCOMPARE(found->colour, 0x123456u);
        QVERIFY(!found->builtIn);
        QCOMPARE(ChosenCriteria(c, 1), (QStringList{QStringLiteral("Дания"), QStringLiteral("Наш")}));
        QCOMPARE(ChosenCriteria(c, 2), QStringList{QStringLiteral("Наш")});

        DeleteCriterion(c, QStringLiteral("Наш"));
        QVERIFY(!FindCriterion(c, QStringLiteral("Наш")));
        QCOMPARE(ChosenCriteria(c, 1), QStringList{QStringLiteral("Дания")});
        QVERIFY(ChosenCriteria(c, 2).isEmpty());
    }

    void limitsPerObjectAndKind()
    {
        Connection c;
        EnsureCriteriaTables(c);
        QVERIFY(!ChosenLimit(c, 1, 0));
        SetChosenLimit(c, 1, 0, BuiltInIndividualLimit());
        SetChosenLimit(c, 1, 1, IndividualLimit{1e-5, QStringLiteral("Свой")});
        QCOMPARE(ChosenLimit(c, 1, 0)->value, 1e-6);
        QCOMPARE(ChosenLimit(c, 1, 1)->source, QStringLiteral("Свой"));
        QVERIFY(!ChosenLimit(c, 2, 0));
        CopyCriteriaChoices(c, 1, 2);
        QCOMPARE(ChosenLimit(c, 2, 1)->value, 1e-5);
        SetChosenLimit(c, 1, 0, std::nullopt);
        QVERIFY(!ChosenLimit(c, 1, 0));
        DeleteCriteriaChoices(c, 2);
        QVERIFY(!ChosenLimit(c, 2, 1));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, SetChosenLimit(c, 1, 0, IndividualLimit{0, {}}));
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
};

QTEST_GUILESS_MAIN(tst_CriteriaStore)
#include "tst_CriteriaStore.moc"
