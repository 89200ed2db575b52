#pragma once

namespace vaultrix {

// Makes the compiled-in pictures (":/bitmaps/<n>.png", ":/icons/<n>.png", ":/cursors/100.png")
// and sounds (":/sounds/<name>.wav") available. They sit in a static library, whose
// unreferenced parts the linker drops, so the program and the widget tests call this once
// before the first picture is loaded.
void loadResources();

}  // namespace vaultrix
