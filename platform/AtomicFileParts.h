#pragma once

#include <filesystem>

#include "common/Result.h"
#include "platform/FileSystem.h"

// The parts of an atomic rewrite that do not depend on the OS, shared by its two OS files.
namespace vaultrix {

// "Die Datei '…' kann nicht geschrieben werden (reason)."
Error writeError(const std::filesystem::path& file, fs::OsCode error);

// The file a write of `file` lands in: the end of its chain of symbolic links (which need not
// exist yet), so a data file that is a link keeps being a link and its target gets the text.
// More than 40 links fail with `tooManyLinks`, the OS's code for a loop.
Result<std::filesystem::path> linkTarget(const std::filesystem::path& file,
                                         fs::OsCode tooManyLinks);

}  // namespace vaultrix
