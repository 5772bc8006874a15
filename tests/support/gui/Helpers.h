#pragma once
// Small helpers shared by the window and component tests.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QVector>

namespace zarnel {
class FlexGrid;
}

namespace testing {

// Lets queued events run and deletes the windows unloaded meanwhile (they go by deferred deletion).
void settle();
// The first row (from 1, below the header) whose cell in the column holds the text; -1 when there is none.
int rowOf(const zarnel::FlexGrid* grid, const QString& text, int column = 1);
// The pixels within the tolerance (sum of the channel differences) of the colour, and how many there are.
QVector<QPoint> pixelsOf(const QImage& image, const QColor& colour, int tolerance = 40);
int pixelsNear(const QImage& image, const QColor& colour, int tolerance = 40);

} // namespace testing
