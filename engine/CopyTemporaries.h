#pragma once

#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "platform/TemporaryFiles.h"

namespace vaultrix {

// The temporary names of one copy, under which an entry is written before it takes its place,
// and the leftovers that earlier runs cut short left under such names.
class CopyTemporaries {
public:
    CopyTemporaries();

    // A new temporary name for an entry that is to take the place of `name`; from any thread.
    std::string newName(const std::string& name);
    // Removes what earlier runs left under temporary names in a folder the copy writes to;
    // another program's entry in the making is left alone. Gives how many entries went.
    std::uint64_t clearLeftovers(const std::string& folder);
    // Removes a temporary entry quietly: what stays behind is cleared by a later run.
    static void discard(const std::string& path);

private:
    std::mutex randomMutex_;
    std::mt19937 random_;
    const TemporaryOwner self_;
    std::vector<std::string> names_;  // the listing of a folder, its memory kept between folders
};

}  // namespace vaultrix
