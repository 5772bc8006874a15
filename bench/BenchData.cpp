#include "BenchData.h"

#include "core/Database.h"
#include "risk/Kinds.h"

#include <QFile>
#include <QString>
#include <QVector>
#include <algorithm>
#include <array>
#include <cmath>
#include <random>

using namespace zarnel;

namespace bench {

namespace {

// Every value twice, in random order: about half of a kind's values are distinct.
QVector<int> HalfDistinct(int n, std::mt19937& rng)
{
    QVector<int> v(n);
    for (int i = 0; i < n; ++i)
        v[i] = i / 2 + 1;
    std::shuffle(v.begin(), v.end(), rng);
    return v;
}

} // namespace

void AddObject(qint16 id, int scenarios)
{
    std::mt19937 rng(quint32(id) * 7919u);
    std::uniform_real_distribution<double> mantissa(1.0, 9.999);
    std::uniform_int_distribution<int> exponent(3, 8);
    Connection c;
    Transaction t(c);
    c.exec(QStringLiteral("INSERT INTO tabObjekt (Id, Name, People) VALUES (?, ?, ?)"),
           {id, QStringLiteral("Объект %1").arg(scenarios), 250});
    std::array<QVector<int>, KindCount> values;
    for (auto& v : values)
        v = HalfDistinct(scenarios, rng);
    for (int s = 0; s < scenarios; ++s) {
        const double risk = std::round(mantissa(rng) * 1000) / 1000 * std::pow(10.0, -exponent(rng));
        c.exec(
            QStringLiteral("INSERT INTO tabScen (Id_obj, Id, Name, Opis, Risk) VALUES (?, ?, ?, ?, ?)"),
            {id, s + 1, QStringLiteral("С%1").arg(s + 1, 4, 10, QLatin1Char('0')), QStringLiteral("Сценарий"), risk});
        for (int kind = 0; kind < KindCount; ++kind) {
            // Damage carries three decimals, as typed values do.
            const double number = kind == KindDamage ? std::round(values[kind][s] * 5.0) / 1000 : values[kind][s];
            c.exec(QStringLiteral("INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) VALUES (?, ?, ?, ?)"),
                   {id, s + 1, kind, number});
        }
    }
    t.commit();
}

void ResetPeakMemory()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

double PeakMegabytes()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

} // namespace bench
