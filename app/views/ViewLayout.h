#pragma once

#include "kesapp/Twips.h"

// The design of the two views in twips, the unit their layout rules are written in.
namespace kestrova::viewlayout {

// In line with the task editor, which shares the views' place in the main window.
inline constexpr int kLeft = 0;  // caption, list and text box
inline constexpr int kCaptionTop = 0;
inline constexpr int kCaptionHeight = 360;
inline constexpr int kBodyTop = 420;  // list and text box
inline constexpr int kButtonWidth = 1120;
inline constexpr int kButtonHeight = 345;
inline constexpr int kGap = 75;           // between body and button, button and bottom
inline constexpr int kSideMargins = 180;  // the body is this much narrower than the view

// The initial size of either view: the room the main window gives it.
inline constexpr int kWidth = 8100;
inline constexpr int kHeight = 5100;

}  // namespace kestrova::viewlayout
