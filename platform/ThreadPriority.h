#pragma once

namespace vaultrix {

// Gives the calling thread the least share of the processor and the disk, so work that only
// helps (the counting walk beside a copy) hardly slows what it helps: where a processor or the
// disk is free it runs at full speed, where not it mostly waits. Best effort: a system that
// refuses leaves the priority as it was.
void moveThreadToBackground();

}  // namespace vaultrix
