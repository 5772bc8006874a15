#pragma once

#include <QString>

#include <optional>

// The subset of VB number format strings the charts use for tick labels: fixed ("0", "0.000", "0.##")
// and scientific ("0.00E-00", "0.00E+00"). Texts use the decimal separator of the default QLocale.
class ChartNumberFormat {
public:
    explicit ChartNumberFormat(const QString& format = QStringLiteral("0"));

    bool isScientific() const { return m_scientific; }
    int decimals() const { return m_minDecimals; }

    // Text with the format's own decimals.
    QString text(double value) const { return text(value, m_minDecimals); }
    // Text with `decimals` digits after the separator (mantissa decimals for scientific formats).
    QString text(double value, int decimals) const;

    // Fewest decimals (not below the format's) that show `value` exactly in fixed notation, or -1 when
    // that takes more than `limit` decimals.
    int decimalsToShow(double value, int limit) const;

    // The number a label text reads as (either notation), or nothing when it is no number.
    static std::optional<double> read(const QString& text);

private:
    QString fixedText(double value, int decimals) const;
    QString scientificText(double value, int decimals) const;

    bool m_scientific = false;
    int m_minDecimals = 0;
    int m_maxDecimals = 0; // '#' positions allow trailing digits that are dropped when zero
    int m_exponentDigits = 2;
    bool m_exponentPlus = false;
};
