#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/ThreadPriority.h"

namespace vaultrix {

namespace {

// From linux/ioprio.h, which the C library does not wrap: the idle class gets the disk only
// when no one else wants it.
constexpr int kIoprioWhoProcess = 1;  // with id 0: the calling thread
constexpr int kIoprioClassIdle = 3;
constexpr int kIoprioClassShift = 13;

}  // namespace

void moveThreadToBackground() {
    // With id 0 both calls change only the calling thread.
    const sched_param parameters{};
    static_cast<void>(::sched_setscheduler(0, SCHED_IDLE, &parameters));
    static_cast<void>(
        ::syscall(SYS_ioprio_set, kIoprioWhoProcess, 0, kIoprioClassIdle << kIoprioClassShift));
}

}  // namespace vaultrix
