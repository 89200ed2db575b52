#include "support/TempDir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include "platform/FileSystem.h"

namespace vaultrix::test {

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("vaultrix-test-" + std::to_string(stamp) + "-" + std::to_string(random()) + "-" +
             std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave read-only entries behind; make them writable so they can be removed
    // (Windows removes no read-only file).
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (!it->is_symlink(ignored)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string readBytes(const std::filesystem::path& file) {
    // In blocks, not character by character: a test may read a file of many megabytes.
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

fs::EntryInfo entryOf(const std::filesystem::path& path) {
    fs::EntryInfo info;
    static_cast<void>(fs::statEntry(path.string(), info));
    return info;
}

}  // namespace

std::int64_t modifiedOf(const std::filesystem::path& path) {
    return entryOf(path).modifiedNs;
}

void setModified(const std::filesystem::path& path, std::int64_t ns) {
    fs::EntryInfo info = entryOf(path);
    info.modifiedNs = ns;
    static_cast<void>(fs::applyAttributes(path.string(), info));
}

unsigned permissionsOf(const std::filesystem::path& path) {
    return entryOf(path).permissions;
}

#ifdef _WIN32

std::uint64_t identityOf(const std::filesystem::path& path) {
    const HANDLE handle =
        CreateFileW(path.wstring().c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    BY_HANDLE_FILE_INFORMATION data{};
    if (handle == INVALID_HANDLE_VALUE) return 0;
    GetFileInformationByHandle(handle, &data);
    CloseHandle(handle);
    return (static_cast<std::uint64_t>(data.nFileIndexHigh) << 32) | data.nFileIndexLow;
}

std::string makeLink(const std::filesystem::path& target, const std::filesystem::path& link,
                     bool folder) {
    const DWORD flags =
        SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE | (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0);
    const std::wstring to = std::filesystem::path(target).make_preferred().wstring();
    if (!CreateSymbolicLinkW(link.wstring().c_str(), to.c_str(), flags))
        return "Windows makes no symbolic link here (error " + std::to_string(GetLastError()) + ")";
    if (entryOf(link).kind == fs::EntryKind::Missing)
        return "the system reported a symbolic link made, yet none exists (as Wine 8 does)";
    return {};
}

#else

std::uint64_t identityOf(const std::filesystem::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_ino) : 0;
}

std::string makeLink(const std::filesystem::path& target, const std::filesystem::path& link,
                     bool folder) {
    std::error_code error;
    if (folder) {
        std::filesystem::create_directory_symlink(target, link, error);
    } else {
        std::filesystem::create_symlink(target, link, error);
    }
    return error ? "no symbolic link can be made here: " + error.message() : std::string();
}

#endif

}  // namespace vaultrix::test
