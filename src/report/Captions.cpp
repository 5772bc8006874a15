#include "report/Captions.h"

#include "components/DocxWriter.h"
#include "core/ReportOptions.h"

namespace zarnel {

void AppendCaption(DocxWriter& w, const QString& text)
{
    struct Placeholder {
        QString text;
        QString label; // also the sequence's name
    };
    const Placeholder placeholders[] = {
        {QStringLiteral("Таблица ___ - "), QStringLiteral("Таблица")},
        {QStringLiteral("Рис. ____ - "), QStringLiteral("Рисунок")},
    };
    if (!ManualCaptionNumbers()) {
        for (const Placeholder& p : placeholders) {
            if (!text.startsWith(p.text))
                continue;
            w.append(p.label + QLatin1Char(' '));
            w.appendSequenceNumber(p.label);
            w.append(QStringLiteral(" – ") + text.mid(p.text.size()));
            return;
        }
    }
    w.append(text);
}

} // namespace zarnel
