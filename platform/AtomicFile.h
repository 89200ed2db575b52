#pragma once

#include <filesystem>
#include <span>
#include <string_view>

#include "common/Result.h"

namespace vaultrix {

// Replaces the whole content of `file` with `bytes` (creating it when missing). The bytes go to
// a temporary file in the same folder, are flushed to the disk and then renamed over the file in
// one step, so a crash leaves the old file or the new one, never a torn one. When anything fails
// the old file stays as it was and the temporary file is removed. A file that is a symbolic
// link stays a link: the end of its chain of links is resolved once and replaced, in its folder.
Result<> replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// The temporary file a rewrite of `file` writes first: in the same folder, under a temporary
// name of this program (platform/TemporaryFiles.h), so a leftover tells who left it.
std::filesystem::path temporaryFileFor(const std::filesystem::path& file);

// Removes what interrupted rewrites of the named files left in the folder: their temporary
// files that were left behind (see leftBehind).
void removeStaleTemporaryFiles(const std::filesystem::path& folder,
                               std::span<const std::string_view> fileNames);

}  // namespace vaultrix
