#pragma once

namespace vaultrix {

// Makes the compiled-in pictures (":/bitmaps/<n>.png", ":/icons/<n>.png", ":/cursors/100.png")
// and sounds (":/sounds/<name>.wav") available. They sit in a static library, whose
// unreferenced parts the linker drops, so the program and the widget tests call this once
// before the first picture is loaded.
void loadResources();

// The hotspot of the hand cursor ":/cursors/100.png": the tip of the index finger.
inline constexpr int kHandCursorHotX = 10;
inline constexpr int kHandCursorHotY = 0;

}  // namespace vaultrix
