#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string_view>

#include "common/Result.h"

namespace vaultrix {

// Replaces the whole content of `file` with `bytes` (creating it when missing). The bytes go to
// a temporary file in the same folder, are flushed to the disk and then renamed over the file in
// one step, so a crash leaves the old file or the new one, never a torn one. When anything fails
// the old file stays as it was and the temporary file is removed. A file that is a symbolic
// link stays a link: the end of its chain of links is resolved once and replaced, in its folder.
Result<> replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// Removes what interrupted rewrites of the named files left in the folder: their temporary
// files ("save.log.<process>-<thread>.tmp") whose process no longer runs.
void removeStaleTemporaryFiles(const std::filesystem::path& folder,
                               std::initializer_list<std::string_view> fileNames);

// True while the process with this id runs (this one included).
bool processRunning(std::uint64_t id);

}  // namespace vaultrix
