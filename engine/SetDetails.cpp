#include "engine/SetDetails.h"

#include "engine/Scheduler.h"

namespace vaultrix {

SetDetailsTexts setDetailsTexts(const BackupSetStore& sets, const std::string& name,
                                const std::function<bool(const std::string&)>& pathExists) {
    // The flag is shown exactly as stored, so "Ja" or an empty value is not turned into "nein".
    const StoredSet stored = sets.loadStoredSet(name);
    const BackupSet& set = stored.set;
    const std::string& active = stored.activeText;

    std::string body;
    std::string missing;
    for (const std::string& source : set.sources) {
        body += "von: " + source + "\n";
        if (!pathExists(source)) missing += "von: " + source + "\n";
    }
    body += "\nnach: " + set.destination + "\n\n";
    if (!pathExists(set.destination)) missing += "\n\nnach: " + set.destination;
    body += "wann: " + set.day + "\n";
    body += "Zeit: " + set.time;
    // Says why an active set never runs.
    if (set.active && !isValidTimeOfDay(set.time)) {
        body += " (ungültige Uhrzeit, die Sicherung wird nie ausgeführt)";
    }
    body += "\n";
    body += "aktiv: " + active + "\n";

    SetDetailsTexts texts;
    texts.text = "Sicherungsname: " + name + "\n\n" + body;
    if (!missing.empty()) {
        texts.missingMessage =
            "Pfad existiert nicht\noder Netzlaufwerk ist nicht verbunden !\n\nSicherungsname: " +
            name + "\n\n" + missing;
    }
    return texts;
}

}  // namespace vaultrix
