#include "Helpers.h"

#include "components/FlexGrid.h"

#include <QCoreApplication>
#include <QEvent>
#include <cstdlib>

namespace testing {

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

int rowOf(const zarnel::FlexGrid* grid, const QString& text, int column)
{
    for (int r = 1; r < grid->Rows(); ++r)
        if (grid->TextMatrix(r, column) == text)
            return r;
    return -1;
}

int pixelsNear(const QImage& image, const QColor& colour, int tolerance)
{
    int count = 0;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if (std::abs(qRed(line[x]) - colour.red()) + std::abs(qGreen(line[x]) - colour.green()) +
                    std::abs(qBlue(line[x]) - colour.blue()) <=
                tolerance)
                ++count;
    }
    return count;
}

} // namespace testing
