#pragma once

namespace kestrova {

// The product name: window caption, default message-box title, settings group.
inline constexpr const char* kProductName = "Kestrova";

// The product's home page, opened from the Help menu and from the About window.
inline constexpr const char* kHomePage = "https://kestrova.quillmoor.example/";

}  // namespace kestrova
