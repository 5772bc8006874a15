#include "core/Formats.h"

#include <QByteArray>
#include <QLocale>

#include <cmath>
#include <cstdlib>

namespace zarnel {

void SetRussianLocale()
{
    QLocale ru(QLocale::Russian, QLocale::Russia);
    ru.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(ru);
}

double RoundHalfEven(double x)
{
    return std::nearbyint(x); // the default rounding mode rounds ties to even
}

QString Format000(double x)
{
    return QLocale().toString(x, 'f', 3);
}

QString Format0000(double x)
{
    return QLocale().toString(x, 'f', 4);
}

QString PlainNumber(double x)
{
    // At most 15 significant digits, as VB's conversion of a Double to text: 1,1 * 1,001 reads 1,1011, not
    // 1,1011000000000002. Rounded first, so the choice of notation sees the number as it will read.
    if (std::isfinite(x))
        x = std::strtod(QByteArray::number(x, 'g', 15).constData(), nullptr);
    // Plain digits from 0,0001 up to 15 digits before the separator, a power of ten outside: 1E-05, 1E+15.
    const double a = std::fabs(x);
    if (a == 0 || (a >= 1e-4 && a < 1e15))
        return QLocale().toString(x, 'f', QLocale::FloatingPointShortest);
    return QLocale().toString(x, 'E', QLocale::FloatingPointShortest);
}

QString FormatRiskValue(const double& x)
{
    if (x == 0)
        return QString();
    // The mantissa loop below only ends for positive finite values.
    if (!std::isfinite(x) || x < 0)
        return PlainNumber(x);
    double m = x;
    int e = 0;
    while (m < 5) {
        m *= 10;
        ++e;
    }
    if (e <= 1)
        return Format000(x);
    // m lies in [5, 50), so m * 100 lies in [500, 5000): well within 16 bits.
    const double n = RoundHalfEven(m * 100);
    const QString s = Format000(n / 1000);
    const int power = e - 1;
    return power < 10 ? s + "E-0" + QString::number(power) : s + "E-" + QString::number(power);
}

QString SqlNumberText(const QString& s)
{
    QString r = s;
    r.replace(QLatin1Char(','), QLatin1Char('.'));
    return r;
}

std::optional<double> ToDouble(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    double v = QLocale().toDouble(t, &ok);
    if (!ok) {
        QString dotted = t;
        dotted.replace(QLatin1Char(','), QLatin1Char('.'));
        v = QLocale::c().toDouble(dotted, &ok);
    }
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<qint16> ToInt16(double x)
{
    if (!std::isfinite(x))
        return std::nullopt;
    const double r = RoundHalfEven(x);
    if (r < -32768 || r > 32767)
        return std::nullopt;
    return static_cast<qint16>(r);
}

std::optional<qint16> ToInt16(const QString& text)
{
    const auto d = ToDouble(text);
    if (!d)
        return std::nullopt;
    return ToInt16(*d);
}

} // namespace zarnel
