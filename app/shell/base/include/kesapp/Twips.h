#pragma once

namespace kestrova {

// The windows were designed in twips; 15 twips make one pixel here.
inline constexpr int kTwipsPerPixel = 15;

// The nearest pixel to a length or position in twips (not negative).
constexpr int Px(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr int TwipsOf(int pixels) {
    return pixels * kTwipsPerPixel;
}

}  // namespace kestrova
