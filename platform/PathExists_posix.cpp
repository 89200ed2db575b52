#include <dirent.h>
#include <sys/stat.h>

#include "platform/PathExists.h"

namespace vaultrix {

bool PathExists(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode)) return true;
    // A folder counts only when it can be listed (a stale mount point cannot).
    DIR* folder = ::opendir(path.c_str());
    if (folder == nullptr) return false;
    ::closedir(folder);
    return true;
}

}  // namespace vaultrix
