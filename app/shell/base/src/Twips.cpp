#include "kesapp/Twips.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QFontMetricsF>

namespace kestrova {
namespace {

// The design font: a line 195 twips high and an average letter 80 twips wide (5.3 pixels:
// the captions were drawn tight to its narrow letters).
constexpr double kDesignLineTwips = 195.0;
constexpr double kDesignLetterTwips = 80.0;

}  // namespace

double TwipsPerPixel(const QFont& font) {
    const QFontMetricsF metrics(font);
    const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const double letter = metrics.horizontalAdvance(alphabet) / alphabet.size();
    // Whichever measure needs more room wins, so neither lines nor captions are cramped.
    return std::min(kDesignLineTwips / metrics.height(), kDesignLetterTwips / letter);
}

double TwipsPerPixel() {
    return TwipsPerPixel(QApplication::font());
}

int Px(int twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixel()));
}

int TwipsOf(int pixels) {
    return static_cast<int>(std::lround(pixels * TwipsPerPixel()));
}

}  // namespace kestrova
