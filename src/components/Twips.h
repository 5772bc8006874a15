#pragma once
// Lengths of window elements are given in twips: 1440 per inch at the screen's logical DPI.

namespace zarnel {

int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);

} // namespace zarnel
