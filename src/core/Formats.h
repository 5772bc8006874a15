#pragma once
// Number texts shown to the user and written into SQL, and the conversions of typed text.
// Everything follows the default QLocale, which the program sets to Russian (decimal comma).

#include <QString>
#include <optional>

namespace zarnel {

// Makes Russian (decimal comma, no group separator) the default locale of the process.
void SetRussianLocale();

// Display format of frequencies and risks: "" for 0, "0,500".."12345,678" from 0.5 up,
// "4,999E-01", "1,250E-05", "3,000E-12" below. Negative, NaN and infinite values get a plain text.
QString FormatRiskValue(const double& x);

// Shortest text of a Double in the current locale with at most 15 significant digits: 8, 0,1, 1,8, 1E-05.
QString PlainNumber(double x);
// Fixed formats "0.000" and "0.0000".
QString Format000(double x);
QString Format0000(double x);
// A number text made fit for SQL: every ',' becomes '.'.
QString SqlNumberText(const QString& s);

// Rounds to the nearest integer, a half to the even neighbour.
double RoundHalfEven(double x);
// Text -> Double, locale aware; a dot is accepted as well as the comma. Blanks around are ignored.
std::optional<double> ToDouble(const QString& text);
// Double -> 16-bit integer, rounded half to even; nothing when outside -32768..32767 or not finite.
std::optional<qint16> ToInt16(double x);
// Text -> 16-bit integer through ToDouble and ToInt16.
std::optional<qint16> ToInt16(const QString& text);

} // namespace zarnel
