#pragma once

#include <array>
#include <string_view>

#include "store/BackupSetStore.h"
#include "store/LogFile.h"
#include "store/SettingsStore.h"

namespace vaultrix {

// Every file the program keeps its data in, in the working folder. What is done to each of them
// (removing what an interrupted rewrite left) goes by this list, so a new data file is named here.
inline constexpr std::array<std::string_view, 4> kDataFiles{kSetFileName, kSetNameFileName,
                                                            kLogFileName, kSettingsFileName};

}  // namespace vaultrix
