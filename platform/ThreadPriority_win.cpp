#include <windows.h>

#include "platform/ThreadPriority.h"

namespace vaultrix {

void moveThreadToBackground() {
    // The background mode lowers the thread's processor, disk and memory priorities together.
    static_cast<void>(SetThreadPriority(GetCurrentThread(), THREAD_MODE_BACKGROUND_BEGIN));
}

}  // namespace vaultrix
