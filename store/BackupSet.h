#pragma once

#include <string>
#include <vector>

namespace vaultrix {

// One backup definition as it is stored.
struct BackupSet {
    std::string name;                  // never empty; identifies the set
    std::vector<std::string> sources;  // files or folders, in the user's order
    std::string destination;           // the folder that receives the copies
    std::string day;                   // "täglich", "Montag" … "Sonnabend", "Sonntag"
    std::string time;                  // "18:30"
    bool active = false;               // stored as "ja" / "nein"

    bool operator==(const BackupSet&) const = default;
};

}  // namespace vaultrix
