#pragma once

#include <filesystem>
#include <string>

#include "common/Result.h"

namespace vaultrix {

inline constexpr const char* kSettingsFileName = "Einstellung.ini";

// The three tick states of the settings dialog.
struct DialogSettings {
    bool overwrite = false;       // "methode="
    bool startHidden = false;     // "[EINSTELLUNG]" "status="
    bool soundAnimation = false;  // "[SOUNDANI]" "status="

    bool operator==(const DialogSettings&) const = default;
};

// The settings in "Einstellung.ini". No copy is kept: each reader reads the file when it needs
// the value, so a change takes effect at the next read.
class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path folder);

    // "methode=" is exactly "1": runs overwrite what an earlier run stored.
    bool overwriteMode() const;
    // The leading number of "[EINSTELLUNG]" "status=" is not 0.
    bool startHidden() const;
    // "[SOUNDANI]" "status=" is exactly "1".
    bool soundAnimationOn() const;
    // Each box is ticked when the leading number of its value is not 0.
    DialogSettings loadDialogSettings() const;
    // Writes "methode=", "status=" and "[SOUNDANI]" "status=" in this order, "1" or "0".
    Result<> saveDialogSettings(const DialogSettings& settings);

    // The hand-over slot "pfad=" between the destination field and the create-folder dialog.
    std::string readPendingPath() const;
    // Refuses, with the German reason, a path that would not read back exactly.
    Result<> writePendingPath(const std::string& path);
    Result<> clearPendingPath();

private:
    std::filesystem::path file() const;

    std::filesystem::path folder_;
};

}  // namespace vaultrix
