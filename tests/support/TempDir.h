#pragma once

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

}  // namespace vaultrix::test
