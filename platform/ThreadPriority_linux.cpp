#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/ThreadPriority.h"

namespace vaultrix {

namespace {

// The weakest nice value: sharing a processor with the copy, the thread gets about one part in
// seventy of it, yet it is never starved entirely as in the idle scheduling class.
constexpr int kLowestNice = 19;

// From linux/ioprio.h, which the C library does not wrap: the idle class gets the disk only
// when no one else wants it.
constexpr int kIoprioWhoProcess = 1;
constexpr int kIoprioClassIdle = 3;
constexpr int kIoprioClassShift = 13;

}  // namespace

void moveThreadToBackground() {
    // On Linux both are attributes of the thread, named by its own id.
    const pid_t thread = ::gettid();
    static_cast<void>(::setpriority(PRIO_PROCESS, static_cast<id_t>(thread), kLowestNice));
    static_cast<void>(::syscall(SYS_ioprio_set, kIoprioWhoProcess, thread,
                                kIoprioClassIdle << kIoprioClassShift));
}

}  // namespace vaultrix
