#pragma once

namespace vaultrix {

// Puts the calling thread behind every other for the processor and the disk, so work that
// only helps (the counting walk beside a copy) never slows what it helps: it runs when the
// others wait. Best effort: a system that refuses leaves the priority as it was.
void moveThreadToBackground();

}  // namespace vaultrix
