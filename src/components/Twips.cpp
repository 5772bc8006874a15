#include "components/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace zarnel {

namespace {
double dpi(bool horizontal)
{
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s)
        return 96.0;
    const double d = horizontal ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY();
    return d > 0 ? d : 96.0;
}
} // namespace

int TwipsToPixelsX(int twips) { return static_cast<int>(std::lround(twips * dpi(true) / 1440.0)); }
int TwipsToPixelsY(int twips) { return static_cast<int>(std::lround(twips * dpi(false) / 1440.0)); }
int PixelsToTwipsX(int pixels) { return static_cast<int>(std::lround(pixels * 1440.0 / dpi(true))); }
int PixelsToTwipsY(int pixels) { return static_cast<int>(std::lround(pixels * 1440.0 / dpi(false))); }

} // namespace zarnel
