#include "store/SettingsStore.h"

#include "common/Text.h"
#include "store/KeyedTextFile.h"
#include "store/StorableText.h"

namespace vaultrix {
namespace {

constexpr const char* kSettingsSection = "[EINSTELLUNG]";
constexpr const char* kSoundSection = "[SOUNDANI]";
constexpr const char* kMethodKey = "methode=";
constexpr const char* kStatusKey = "status=";
constexpr const char* kPathKey = "pfad=";

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path SettingsStore::file() const {
    return folder_ / kSettingsFileName;
}

bool SettingsStore::overwriteMode() const {
    return KeyedTextFile::readValue(file(), kSettingsSection, kMethodKey) == "1";
}

bool SettingsStore::startHidden() const {
    return leadingNumber(KeyedTextFile::readValue(file(), kSettingsSection, kStatusKey)) != 0;
}

bool SettingsStore::soundAnimationOn() const {
    return KeyedTextFile::readValue(file(), kSoundSection, kStatusKey) == "1";
}

DialogSettings SettingsStore::loadDialogSettings() const {
    auto loaded = KeyedTextFile::load(file());
    const KeyedSteps settings(loaded ? std::move(loaded).value() : LineList());
    const auto ticked = [&](const char* section, const char* key) {
        return leadingNumber(settings.readValue(section, key)) != 0;
    };
    return DialogSettings{ticked(kSettingsSection, kMethodKey),
                          ticked(kSettingsSection, kStatusKey), ticked(kSoundSection, kStatusKey)};
}

Result<> SettingsStore::saveDialogSettings(const DialogSettings& settings) {
    const auto flag = [](bool on) { return on ? std::string("1") : std::string("0"); };
    return KeyedTextFile::change(file(), [&](KeyedSteps& steps) {
        steps.writeEntry(kSettingsSection, kMethodKey + flag(settings.overwrite));
        steps.writeEntry(kSettingsSection, kStatusKey + flag(settings.startHidden));
        steps.writeEntry(kSoundSection, kStatusKey + flag(settings.soundAnimation));
    });
}

std::string SettingsStore::readPendingPath() const {
    return KeyedTextFile::readValue(file(), kSettingsSection, kPathKey);
}

Result<> SettingsStore::writePendingPath(const std::string& path) {
    if (const auto reason = unstorableReason(path); !reason.empty()) {
        return failure("Der Pfad '" + path + "' " + reason, path);
    }
    return KeyedTextFile::writeEntry(file(), kSettingsSection, kPathKey + path);
}

Result<> SettingsStore::clearPendingPath() {
    return writePendingPath({});
}

}  // namespace vaultrix
