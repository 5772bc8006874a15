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

QVector<QPoint> pixelsOf(const QImage& image, const QColor& colour, int tolerance)
{
    QVector<QPoint> found;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if (std::abs(qRed(line[x]) - colour.red()) + std::abs(qGreen(line[x]) - colour.green()) +
                    std::abs(qBlue(line[x]) - colour.blue()) <=
                tolerance)
                found.append(QPoint(x, y));
    }
    return found;
}

int pixelsNear(const QImage& image, const QColor& colour, int tolerance)
{
    return int(pixelsOf(image, colour, tolerance).size());
}

} // namespace testing
