#include "core/DemoData.h"

#include "core/Database.h"

namespace zarnel {

namespace {
struct DemoScenario {
    const char* name;
    const char* title;
    double frequency;
    int kills, severe, light; // -1: no indicator of that kind
    double damage;            // million roubles; < 0: none
};

const DemoScenario kScenarios[] = {
    {"С1", "Разгерметизация железнодорожной цистерны, огненный шар", 1.2e-5, 12, 18, 25, 45.5},
    {"С2", "Разрушение резервуара 200 м3, взрыв топливно-воздушной смеси", 3.5e-6, 25, 40, 60, 120},
    {"С3", "Утечка через фланцевое соединение, пожар пролива", 4.8e-4, 1, 2, 4, 2.5},
    {"С4", "Разрыв сливо-наливного рукава, факельное горение", 2.1e-4, 1, 3, 5, 0.8},
    {"С5", "Срабатывание предохранительного клапана, выброс в атмосферу", 9.5e-4, -1, -1, 2, 0.15},
    {"С6", "Разгерметизация насоса, пожар-вспышка", 6.3e-5, 3, 5, 8, 5.2},
    {"С7", "Разрушение автоцистерны на наливной эстакаде, огненный шар", 2.4e-6, 8, 12, 20, 30},
    {"С8", "Разрыв трубопровода паровой фазы, струйное горение", 1.5e-4, -1, 1, 3, 1.2},
    {"С9", "Каскадное развитие аварии в резервуарном парке", 8.0e-7, 40, 65, 90, 310},
    {"С10", "Утечка через запорную арматуру без воспламенения", 1.0e-3, -1, -1, -1, 0.05},
};
} // namespace

qint16 WriteDemoObject(Connection& c)
{
    Transaction t(c);
    qint16 id = 1;
    while (!c.select(QStringLiteral("select * from tabObjekt where Id=%1").arg(id)).isEmpty())
        ++id;
    c.exec(QStringLiteral("INSERT INTO tabObjekt (Id, Name, People) VALUES (?, ?, ?)"),
           {id, QString::fromUtf8(kDemoObjectName), 150});
    qint16 scen = 0;
    for (const DemoScenario& s : kScenarios) {
        ++scen;
        c.exec(QStringLiteral("INSERT INTO tabScen (Id_obj, Id, Name, Opis, Risk) VALUES (?, ?, ?, ?, ?)"),
               {id, scen, QString::fromUtf8(s.name), QString::fromUtf8(s.title), s.frequency});
        auto add = [&](int kind, double value) {
            c.exec(QStringLiteral("INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) VALUES (?, ?, ?, ?)"),
                   {id, scen, kind, value});
        };
        if (s.kills >= 0)
            add(0, s.kills);
        if (s.severe >= 0)
            add(1, s.severe);
        if (s.light >= 0)
            add(2, s.light);
        if (s.damage >= 0)
            add(3, s.damage);
        if (s.severe >= 0 || s.light >= 0)
            add(4, qMax(0, s.severe) + qMax(0, s.light));
    }
    t.commit();
    return id;
}

} // namespace zarnel
