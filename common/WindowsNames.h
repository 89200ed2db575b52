#pragma once

#include <string>
#include <string_view>

namespace vaultrix {

// Whether Windows can hold one name (a single path component, not a path) as it stands. An
// absolute path on Windows is passed with the "\\?\" prefix, which also turns off the system's
// clean-up of names: a name with a trailing dot or space, or a device name such as "CON", would
// be created literally and then be out of reach of Explorer and most programs. FAT, exFAT and
// NTFS refuse the same characters on every system.
//
// Empty when the name is fine, otherwise the German reason, naming the name.
std::string windowsNameProblem(std::string_view name);

// True for the device names CON, PRN, AUX, NUL, COM1 … COM9 and LPT1 … LPT9, in any case, alone
// or before an extension ("nul.txt"), and with blanks before it ("CON .txt").
bool isWindowsDeviceName(std::string_view name);

}  // namespace vaultrix
