#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "platform/FileSystem.h"

namespace vaultrix::fs {

// How long a rename waits in all for another program to let go of a file.
inline constexpr std::chrono::milliseconds kHeldFileWait{2000};

// Virus scanners and indexers open a file for a moment after every write, and a rename of it
// or over it fails meanwhile with a sharing violation, a lock violation or a denied access.
// Runs `rename` again while it fails so, after short waits growing from 50 to 200 ms, for
// about kHeldFileWait. Gives the last code; a denied access to `from` or `to` while another
// program holds one of them is told as the sharing violation it is, not as a refusal of rights.
OsCode renameWhileHeld(const std::function<OsCode()>& rename, const std::wstring& from,
                       const std::wstring& to);

}  // namespace vaultrix::fs
