#include "engine/SetDetails.h"

#include "engine/Scheduler.h"

namespace vaultrix {

SetDetailsTexts setDetailsTexts(const BackupSetStore& sets, const std::string& name) {
    // The flag is shown exactly as stored, so "Ja" or an empty value is not turned into "nein".
    const StoredSet stored = sets.loadStoredSet(name);
    const BackupSet& set = stored.set;
    const std::string& active = stored.activeText;

    std::string body;
    for (const std::string& source : set.sources) body += "von: " + source + "\n";
    body += "\nnach: " + set.destination + "\n\n";
    body += "wann: " + set.day + "\n";
    body += "Zeit: " + set.time;
    // Says why an active set never runs.
    if (set.active && !isValidTimeOfDay(set.time)) {
        body += " (ungültige Uhrzeit, die Sicherung wird nie ausgeführt)";
    }
    body += "\n";
    body += "aktiv: " + active + "\n";

    SetDetailsTexts texts{"Sicherungsname: " + name + "\n\n" + body, set.sources};
    texts.paths.push_back(set.destination);
    return texts;
}

std::string missingPathsMessage(const std::string& name, const std::vector<std::string>& paths,
                                const std::vector<bool>& reachable) {
    std::string missing;
    for (std::size_t i = 0; i < paths.size() && i < reachable.size(); ++i) {
        if (reachable[i]) continue;
        missing += i + 1 < paths.size() ? "von: " + paths[i] + "\n" : "\n\nnach: " + paths[i];
    }
    if (missing.empty()) return {};
    return "Pfad existiert nicht\noder Netzlaufwerk ist nicht verbunden !\n\nSicherungsname: " +
           name + "\n\n" + missing;
}

}  // namespace vaultrix
