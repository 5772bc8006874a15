#include "components/ChartNumberFormat.h"

#include <QLocale>

#include <cmath>

ChartNumberFormat::ChartNumberFormat(const QString& format)
{
    if (format.trimmed().isEmpty()) {
        // VB's general number: as many decimals as the value needs.
        m_maxDecimals = 10;
        return;
    }
    const qsizetype e = format.indexOf(QLatin1Char('E'), 0, Qt::CaseInsensitive);
    const QString mantissa = e < 0 ? format : format.left(e);
    if (e >= 0) {
        m_scientific = true;
        const QString exponent = format.mid(e + 1);
        m_exponentPlus = exponent.startsWith(QLatin1Char('+'));
        m_exponentDigits = qMax<qsizetype>(1, exponent.count(QLatin1Char('0')) + exponent.count(QLatin1Char('#')));
    }
    const qsizetype point = mantissa.indexOf(QLatin1Char('.'));
    if (point >= 0) {
        const QString fraction = mantissa.mid(point + 1);
        m_minDecimals = int(fraction.count(QLatin1Char('0')));
        m_maxDecimals = m_minDecimals + int(fraction.count(QLatin1Char('#')));
    }
}

QString ChartNumberFormat::text(double value, int decimals) const
{
    if (!std::isfinite(value))
        return QLocale().toString(value);
    decimals = qBound(0, decimals, 15);
    return m_scientific ? scientificText(value, decimals) : fixedText(value, decimals);
}

int ChartNumberFormat::decimalsToShow(double value, int limit) const
{
    const double magnitude = std::fabs(value);
    for (int d = m_minDecimals; d <= limit; ++d) {
        const double scaled = magnitude * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) <= 1e-9 * qMax(1.0, scaled))
            return d;
    }
    return -1;
}

std::optional<double> ChartNumberFormat::read(const QString& text)
{
    bool ok = false;
    const double v = QLocale().toDouble(text, &ok);
    if (ok)
        return v;
    return std::nullopt;
}

// A rounded-away negative value must not print as "-0" or "-0,00".
static QString withoutNegativeZero(QString text)
{
    if (text.startsWith(QLatin1Char('-'))) {
        bool onlyZeros = true;
        for (const QChar c : text)
            if (c.isDigit() && c != QLatin1Char('0'))
                onlyZeros = false;
        if (onlyZeros)
            text.remove(0, 1);
    }
    return text;
}

QString ChartNumberFormat::fixedText(double value, int decimals) const
{
    const QLocale locale;
    QString s = locale.toString(value, 'f', decimals);
    // '#' places are optional: drop their trailing zeros, never the format's '0' places.
    if (m_maxDecimals > m_minDecimals && decimals > m_minDecimals) {
        const QString point = locale.decimalPoint();
        const qsizetype at = s.indexOf(point);
        if (at >= 0) {
            qsizetype keep = s.size();
            while (keep > at + point.size() + m_minDecimals && s.at(keep - 1) == QLatin1Char('0'))
                --keep;
            if (keep == at + point.size())
                keep = at;
            s.truncate(keep);
        }
    }
    return withoutNegativeZero(s);
}

QString ChartNumberFormat::scientificText(double value, int decimals) const
{
    const QLocale locale;
    int exponent = 0;
    QString mantissa;
    if (value == 0.0) {
        mantissa = locale.toString(0.0, 'f', decimals);
    } else {
        const double magnitude = std::fabs(value);
        exponent = int(std::floor(std::log10(magnitude)));
        // Two steps keep 10^-exponent finite near the ends of the double range.
        double m = magnitude * std::pow(10.0, -exponent / 2) * std::pow(10.0, -(exponent - exponent / 2));
        mantissa = locale.toString(m, 'f', decimals);
        if (locale.toDouble(mantissa) >= 10.0) { // 9.996 rounds up to 10,00: shift to 1,00 of the next power
            ++exponent;
            m /= 10.0;
            mantissa = locale.toString(m, 'f', decimals);
        } else if (locale.toDouble(mantissa) < 1.0) { // log10 of a value just below a power of ten
            --exponent;
            m *= 10.0;
            mantissa = locale.toString(m, 'f', decimals);
        }
        if (value < 0)
            mantissa.prepend(QLatin1Char('-'));
    }
    QString digits = QString::number(std::abs(exponent)).rightJustified(m_exponentDigits, QLatin1Char('0'));
    const QString sign = exponent < 0 ? QStringLiteral("-") : (m_exponentPlus ? QStringLiteral("+") : QString());
    return mantissa + QLatin1Char('E') + sign + digits;
}
