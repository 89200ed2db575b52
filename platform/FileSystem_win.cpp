#include "platform/FileSystem_win.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/HeldFiles_win.h"
#include "platform/PathText.h"

namespace vaultrix::fs {
namespace {

constexpr std::int64_t kIntervalsFrom1601To1970 = 116444736000000000LL;
// The attributes a copy carries over; others (folder, reparse point …) are the system's.
constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                    FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The longest name, in UTF-16 units, that NTFS, exFAT and FAT take.
constexpr std::size_t kMaxNameUnits = 255;

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

OsCode lastError() {
    return static_cast<OsCode>(GetLastError());
}

// Only real links count as links; other reparse points (cloud placeholders, deduplicated
// files) hold ordinary contents.
DWORD reparseTag(const std::wstring& path) {
    WIN32_FIND_DATAW data{};
    const HANDLE found =
        FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (found == INVALID_HANDLE_VALUE) return 0;
    FindClose(found);
    return data.dwReserved0;
}

OsCode readIdentity(const std::wstring& path, bool followLink, EntryInfo& info) {
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return lastError();
    BY_HANDLE_FILE_INFORMATION data{};
    const BOOL read = GetFileInformationByHandle(handle, &data);
    const OsCode code = read ? kOsOk : lastError();
    CloseHandle(handle);
    if (code != kOsOk) return code;
    info.device = data.dwVolumeSerialNumber;
    info.index = (static_cast<std::uint64_t>(data.nFileIndexHigh) << 32) | data.nFileIndexLow;
    return kOsOk;
}

// The position after `count` more names from `begin`, each with the separator that ends it.
std::size_t afterNames(const std::string& path, std::size_t begin, int count) {
    for (int i = 0; i < count; ++i) {
        const std::size_t separator = path.find_first_of("\\/", begin);
        if (separator == std::string::npos) return path.size();
        begin = separator + 1;
    }
    return begin;
}

bool startsWith(const std::string& path, std::string_view prefix) {
    if (path.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const bool same = prefix[i] == '\\' ? isSeparator(path[i]) : path[i] == prefix[i];
        if (!same) return false;
    }
    return true;
}

// Opens the entry itself (never what a link points to) for reading or setting its times.
HANDLE openEntry(const std::string& path, DWORD access) {
    return CreateFileW(
        extendedPath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Why the entry cannot be read, told as POSIX tells it. Windows and Wine report a name longer
// than any file system takes as invalid or not found, and a path that leads through a file as
// not found; the first is the name's length, the second a file where a folder above should be.
OsCode readFailure(const std::string& path, DWORD code) {
    if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND && code != ERROR_INVALID_NAME)
        return static_cast<OsCode>(code);
    const std::size_t root = rootLength(path);
    std::size_t end = path.size();
    // Set once the nearest existing folder or file above is found.
    DWORD above = code == ERROR_PATH_NOT_FOUND ? INVALID_FILE_ATTRIBUTES : FILE_ATTRIBUTE_DIRECTORY;
    for (;;) {
        while (end > root && isSeparator(path[end - 1])) --end;
        const std::size_t nameEnd = end;
        while (end > root && !isSeparator(path[end - 1])) --end;
        if (nameEnd == end) break;
        if (toWide(path.substr(end, nameEnd - end)).size() > kMaxNameUnits)
            return ERROR_FILENAME_EXCED_RANGE;
        if (above == INVALID_FILE_ATTRIBUTES) {
            std::size_t folderEnd = end;
            while (folderEnd > root && isSeparator(path[folderEnd - 1])) --folderEnd;
            if (folderEnd > root)
                above = GetFileAttributesW(extendedPath(path.substr(0, folderEnd)).c_str());
        }
    }
    const bool throughFile =
        above != INVALID_FILE_ATTRIBUTES && (above & FILE_ATTRIBUTE_DIRECTORY) == 0;
    return throughFile ? ERROR_DIRECTORY : static_cast<OsCode>(code);
}

OsCode moveNew(const std::string& from, const std::string& to) {
    const std::wstring source = extendedPath(from);
    const std::wstring target = extendedPath(to);
    return renameWhileHeld(
        [&] {
            return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)
                       ? kOsOk
                       : lastError();
        },
        source, target);
}

}  // namespace

OsCode writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return lastError();
        bytes.remove_prefix(written);
    }
    return kOsOk;
}

std::size_t rootLength(const std::string& path) {
    if (startsWith(path, "\\\\?\\UNC\\")) return afterNames(path, 8, 2);
    if (startsWith(path, "\\\\?\\")) return afterNames(path, 4, 1);
    if (startsWith(path, "\\\\")) return afterNames(path, 2, 2);
    if (path.size() >= 2 && path[1] == ':') return path.size() >= 3 && isSeparator(path[2]) ? 3 : 2;
    return !path.empty() && isSeparator(path[0]) ? 1 : 0;
}

std::wstring toWide(const std::string& text) {
    if (text.empty()) return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string toUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                        length, nullptr, nullptr);
    return narrow;
}

std::wstring extendedPath(const std::string& path) {
    std::wstring wide = toWide(path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (wide.rfind(L"\\\\?\\", 0) == 0) return wide;
    if (wide.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + wide.substr(2);
    if (wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\') return L"\\\\?\\" + wide;
    return wide;
}

bool attributesRefused(DWORD code) {
    return code == ERROR_ACCESS_DENIED || code == ERROR_NOT_SUPPORTED ||
           code == ERROR_INVALID_FUNCTION || code == ERROR_INVALID_PARAMETER;
}

std::int64_t nanosecondsOf(const FILETIME& time) {
    const std::int64_t intervals = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    return (intervals - kIntervalsFrom1601To1970) * 100;
}

FILETIME fileTimeOf(std::int64_t nanoseconds) {
    const auto intervals = static_cast<std::uint64_t>(nanoseconds / 100 + kIntervalsFrom1601To1970);
    FILETIME time{};
    time.dwLowDateTime = static_cast<DWORD>(intervals & 0xFFFFFFFFu);
    time.dwHighDateTime = static_cast<DWORD>(intervals >> 32);
    return time;
}

OsCode statEntry(const std::string& path, EntryInfo& info, bool followLink) {
    info = EntryInfo{};
    const std::wstring wide = extendedPath(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
        const OsCode code = readFailure(path, GetLastError());
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? kOsOk : code;
    }
    const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.kind = folder ? EntryKind::Folder : EntryKind::File;
    if (!followLink && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        const DWORD tag = reparseTag(wide);
        // Folder links and junctions are left out: never followed, and not portable as links.
        if (tag == IO_REPARSE_TAG_SYMLINK)
            info.kind = folder ? EntryKind::Special : EntryKind::Link;
        if (tag == IO_REPARSE_TAG_MOUNT_POINT) info.kind = EntryKind::Special;
    }
    info.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    info.modifiedNs = nanosecondsOf(data.ftLastWriteTime);
    info.permissions = data.dwFileAttributes & kCopiedAttributes;
    if (info.kind == EntryKind::Folder) return readIdentity(wide, followLink, info);
    return kOsOk;
}

// The directory attribute comes with every entry, so there is nothing more to look at.
OsCode listFolderEntries(const std::string& path, std::vector<FolderEntry>& entries, bool) {
    entries.clear();
    std::wstring pattern = extendedPath(path);
    if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data{};
    const HANDLE found =
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                         FIND_FIRST_EX_LARGE_FETCH);
    if (found == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? kOsOk : static_cast<OsCode>(code);  // empty root
    }
    OsCode code = kOsOk;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        // The directory attribute alone decides, whatever else is set (read-only, archive …).
        entries.push_back(
            FolderEntry{toUtf8(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(found, &data));
    if (GetLastError() != ERROR_NO_MORE_FILES) code = lastError();
    FindClose(found);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return code;
}

OsCode makeFolder(const std::string& path) {
    return CreateDirectoryW(extendedPath(path).c_str(), nullptr) ? kOsOk : lastError();
}

// The folder's access comes from its parent's either way.
OsCode makeUserFolder(const std::string& path) {
    return makeFolder(path);
}

OsCode copyLink(const std::string& from, const std::string& to) {
    const DWORD flags = COPY_FILE_COPY_SYMLINK | COPY_FILE_FAIL_IF_EXISTS;
    return CopyFileExW(extendedPath(from).c_str(), extendedPath(to).c_str(), nullptr, nullptr,
                       nullptr, flags)
               ? kOsOk
               : lastError();
}

OsCode makeSymbolicLink(const std::string& target, const std::string& path) {
    std::wstring to = toWide(target);
    for (wchar_t& c : to) {
        if (c == L'/') c = L'\\';
    }
    const std::wstring at = extendedPath(path);
    // Without administrator rights only in developer mode; older systems know no such flag.
    constexpr DWORD kUnprivileged = 0x2;
    if (CreateSymbolicLinkW(at.c_str(), to.c_str(), kUnprivileged)) return kOsOk;
    if (GetLastError() != ERROR_INVALID_PARAMETER) return lastError();
    return CreateSymbolicLinkW(at.c_str(), to.c_str(), 0) ? kOsOk : lastError();
}

OsCode replaceEntry(const std::string& from, const std::string& to) {
    const std::wstring source = extendedPath(from);
    const std::wstring target = extendedPath(to);
    const auto move = [&] {
        return MoveFileExW(source.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? kOsOk
                   : lastError();
    };
    const OsCode first = move();
    if (first == kOsOk) return kOsOk;
    // A read-only older backup refuses to be replaced until the flag is taken off.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool readOnly = first == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
                          (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly) SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    const OsCode code = renameWhileHeld(move, source, target);
    if (code != kOsOk && readOnly) SetFileAttributesW(target.c_str(), attributes);
    return code;
}

void removeQuietly(const std::string& path) {
    const std::wstring wide = extendedPath(path);
    if (DeleteFileW(wide.c_str())) return;
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide.c_str());
}

OsCode applyAttributes(const std::string& path, const EntryInfo& info) {
    const std::wstring wide = extendedPath(path);
    // The time before the attributes, so a read-only flag cannot stand in its way.
    const HANDLE handle = CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return lastError();
    const FILETIME modified = fileTimeOf(info.modifiedNs);
    const BOOL timed = SetFileTime(handle, nullptr, nullptr, &modified);
    const OsCode code = timed ? kOsOk : lastError();
    CloseHandle(handle);
    if (code != kOsOk) return code;
    const DWORD attributes = info.permissions != 0 ? info.permissions : FILE_ATTRIBUTE_NORMAL;
    if (SetFileAttributesW(wide.c_str(), attributes)) return kOsOk;
    // The time went through the same right, so a denial here is the destination's.
    const DWORD refused = GetLastError();
    return attributesRefused(refused) ? kOsOk : static_cast<OsCode>(refused);
}

// A read-only folder on Windows still takes new entries.
bool folderWritable(const EntryInfo&) {
    return true;
}

OsCode makeFolderWritable(const std::string&, const EntryInfo&) {
    return kOsOk;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    std::size_t end = folder.size();
    while (end > 0 && isSeparator(folder[end - 1])) --end;
    if (folder.empty()) return name;
    if (end == 0) return "\\" + name;
    const std::string base = folder.substr(0, end);
    return base + "\\" + name;
}

bool samePathText(const std::string& a, const std::string& b) {
    const auto folded = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return folded(x) == folded(y); });
}

std::string lastName(const std::string& path) {
    const std::size_t root = rootLength(path);
    std::size_t end = path.size();
    while (end > root && isSeparator(path[end - 1])) --end;
    std::size_t begin = end;
    while (begin > root && !isSeparator(path[begin - 1])) --begin;
    return path.substr(begin, end - begin);
}

std::string normalisePath(const std::string& path) {
    std::string text = path;
    std::replace(text.begin(), text.end(), '/', '\\');
    const std::size_t root = rootLength(text);
    std::string prefix = text.substr(0, root);
    // A share's root keeps its separator like a drive's; "C:" alone stays drive-relative.
    if (prefix.size() > 2 && prefix.back() != '\\') prefix += '\\';
    const std::string names =
        collapseDots(std::string_view(text).substr(root), "\\", '\\', root > 0);
    if (prefix.empty() && names.empty() && !path.empty()) return ".";
    return prefix + names;
}

OsCode removeTree(const std::string& path) {
    const std::wstring wide = extendedPath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND
                   ? kOsOk
                   : static_cast<OsCode>(code);
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return DeleteFileW(wide.c_str()) ? kOsOk : lastError();
    OsCode code = kOsOk;
    // A folder link or junction goes by itself; what it points to is never touched.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        std::vector<std::string> names;
        code = listFolder(path, names);
        for (const std::string& name : names) {
            const OsCode removed = removeTree(joinPath(path, name));
            if (code == kOsOk) code = removed;
        }
    }
    if (!RemoveDirectoryW(wide.c_str()) && code == kOsOk) code = lastError();
    return code;
}

// Without MOVEFILE_REPLACE_EXISTING the move fails where `to` exists.
OsCode renameNew(const std::string& from, const std::string& to) {
    return moveNew(from, to);
}

// Windows cannot swap two entries in one step: the second steps aside for a moment.
OsCode exchangeEntries(const std::string& first, const std::string& second,
                       const std::string& spare) {
    if (const OsCode code = moveNew(second, spare); code != kOsOk) return code;
    if (const OsCode code = moveNew(first, second); code != kOsOk) {
        static_cast<void>(moveNew(spare, second));
        return code;
    }
    return moveNew(spare, first);
}

OsCode changeTime(const std::string& path, std::int64_t& changedNs) {
    const HANDLE handle = openEntry(path, FILE_READ_ATTRIBUTES);
    if (handle == INVALID_HANDLE_VALUE) return lastError();
    FILE_BASIC_INFO info{};
    const BOOL read = GetFileInformationByHandleEx(handle, FileBasicInfo, &info, sizeof info);
    const OsCode code = read ? kOsOk : lastError();
    CloseHandle(handle);
    if (code != kOsOk) return code;
    // File systems without a change time (FAT) report none: the entry's making or last write
    // stands in for it.
    const LONGLONG latest = std::max(
        {info.ChangeTime.QuadPart, info.LastWriteTime.QuadPart, info.CreationTime.QuadPart});
    FILETIME time{};
    time.dwLowDateTime = static_cast<DWORD>(latest & 0xFFFFFFFF);
    time.dwHighDateTime = static_cast<DWORD>(latest >> 32);
    changedNs = nanosecondsOf(time);
    return kOsOk;
}

OsCode markChanged(const std::string& path) {
    const HANDLE handle = openEntry(path, FILE_WRITE_ATTRIBUTES);
    if (handle == INVALID_HANDLE_VALUE) return lastError();
    // Zero in every other field leaves it as it is.
    FILE_BASIC_INFO info{};
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    info.ChangeTime.LowPart = now.dwLowDateTime;
    info.ChangeTime.HighPart = static_cast<LONG>(now.dwHighDateTime);
    const BOOL set = SetFileInformationByHandle(handle, FileBasicInfo, &info, sizeof info);
    const OsCode code = set ? kOsOk : lastError();
    CloseHandle(handle);
    return code;
}

unsigned long currentProcessId() {
    return GetCurrentProcessId();
}

bool processRunning(unsigned long processId) {
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId));
    // A process of another user cannot be opened, yet it runs.
    if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD exitCode = 0;
    const bool running = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

std::string hostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &length)) return {};
    return toUtf8(std::wstring(name, length));
}

}  // namespace vaultrix::fs
