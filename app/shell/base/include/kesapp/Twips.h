#pragma once

class QFont;

namespace kestrova {

// The windows were designed in twips for a dialog font of 13-pixel lines and narrow
// letters at 15 twips a pixel. Here a pixel holds as many twips as keeps those
// proportions at the application font's size, so the design grows with the font and every
// caption keeps the room it was drawn with.
double TwipsPerPixel(const QFont& font);
double TwipsPerPixel();  // for the application font

// The nearest pixel to a length or position in twips, at the application font.
int Px(int twips);
int TwipsOf(int pixels);

}  // namespace kestrova
