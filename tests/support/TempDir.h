#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace vaultrix::test {

// A fresh, empty folder for one test, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// The whole file as bytes; empty when missing.
std::string readBytes(const std::filesystem::path& file);
// Writes the bytes as they are (creating or replacing the file).
void writeBytes(const std::filesystem::path& file, const std::string& bytes);

// The modification time in nanoseconds since 1970 UTC, read and set through the program's own
// platform calls: std::filesystem's file clock counts from another epoch in MinGW.
std::int64_t modifiedOf(const std::filesystem::path& path);
void setModified(const std::filesystem::path& path, std::int64_t ns);
// What the program keeps of an entry's permissions: mode bits on POSIX, attributes on Windows.
unsigned permissionsOf(const std::filesystem::path& path);
// The entry's number on its volume (inode, file index): a file replaced gets a new one.
std::uint64_t identityOf(const std::filesystem::path& path);

// Makes a symbolic link at `link` to `target` (a folder link when `folder`). Empty when the link
// stands, else why the system made none, for the test's skip message: Windows lets only
// administrators and developer mode make links, and Wine 8 reports links made that it never makes.
std::string makeLink(const std::filesystem::path& target, const std::filesystem::path& link,
                     bool folder = false);

}  // namespace vaultrix::test
