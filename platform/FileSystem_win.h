#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace vaultrix::fs {

// UTF-8 text as UTF-16 for the wide Win32 calls, and back.
std::wstring toWide(const std::string& text);
std::string toUtf8(const std::wstring& text);

// The path for the wide calls: backslashes, and the "\\?\" prefix on absolute paths so deep
// backup trees are not cut off at 260 characters.
std::wstring extendedPath(const std::string& path);

// The length of the root a path starts with: "\\?\UNC\server\share\", "\\?\C:\",
// "\\server\share\", "C:\", "C:" or a lone separator (either separator counts); 0 for a
// relative path.
std::size_t rootLength(const std::string& path);

// Writes all the bytes to the file, going on after a write that took only part of them.
[[nodiscard]] OsCode writeAll(HANDLE file, std::string_view bytes);

// Whether a failure to set attributes only says the destination cannot keep them (a share
// denies them, a file system has none). Attributes are best effort: the copy stays.
bool attributesRefused(DWORD code);

// A file time (100 ns since 1601) as nanoseconds since 1970, and back.
std::int64_t nanosecondsOf(const FILETIME& time);
FILETIME fileTimeOf(std::int64_t nanoseconds);

}  // namespace vaultrix::fs
