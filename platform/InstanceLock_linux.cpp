#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "platform/InstanceLock.h"

namespace vaultrix {

InstanceLock::Outcome InstanceLock::tryLock(const std::string& folder) {
    release();
    fs::EntryInfo identity;
    error_ = fs::statEntry(fs::normalisePath(folder), identity, true);
    if (error_ == fs::kOsOk && identity.kind == fs::EntryKind::Missing) error_ = ENOENT;
    if (error_ != fs::kOsOk) return Outcome::failed;

    // An abstract name (a leading NUL byte) lives in no folder and no environment, and goes
    // with the socket when the process ends.
    const std::string name = instanceLockName(identity);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    // Not inherited: a program started from this one (a browser) must not keep the lock.
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        error_ = errno;
        return Outcome::failed;
    }
    if (::bind(socket, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        const int code = errno;
        ::close(socket);
        if (code == EADDRINUSE) return Outcome::held;
        error_ = code;
        return Outcome::failed;
    }
    handle_ = socket;
    return Outcome::taken;
}

void InstanceLock::release() {
    if (handle_ == kNone) return;
    ::close(static_cast<int>(handle_));
    handle_ = kNone;
}

}  // namespace vaultrix
