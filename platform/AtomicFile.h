#pragma once

#include <filesystem>
#include <string_view>

#include "platform/Result.h"

namespace vaultrix {

// Replaces the whole content of `file` with `bytes` (creating it when missing). The bytes go to
// a temporary file in the same folder, are flushed to the disk and then renamed over the file in
// one step, so a crash leaves the old file or the new one, never a torn one. When anything fails
// the old file stays as it was and the temporary file is removed. A file that is a symbolic
// link stays a link: the end of its chain of links is resolved once and replaced, in its folder.
Result<> replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes);

}  // namespace vaultrix
