#include <cerrno>

#include "platform/FileSystem.h"

namespace vaultrix::fs {

std::string osErrorReason(OsCode code) {
    switch (code) {
        case kOsCancelled:
            return "Der Vorgang wurde abgebrochen.";
        case ENOENT:
            return "Datei oder Ordner nicht gefunden";
        case EACCES:
        case EPERM:
            return "Zugriff verweigert";
        case ENOSPC:
            return "Nicht genügend Speicherplatz auf dem Datenträger";
        case EDQUOT:
            return "Das Speicherkontingent auf dem Datenträger ist erschöpft";
        case EFBIG:
            return "Die Datei ist für den Zieldatenträger zu groß";
        case ENAMETOOLONG:
            return "Der Dateiname oder Pfad ist zu lang";
        case EROFS:
            return "Der Datenträger ist schreibgeschützt";
        case EIO:
            return "Ein-/Ausgabefehler beim Zugriff auf den Datenträger";
        case ENOTDIR:
            return "Ein Teil des Pfades ist kein Ordner";
        case EISDIR:
            return "Am Ziel ist ein Ordner gleichen Namens vorhanden";
        case EEXIST:
            return "Die Datei oder der Ordner ist bereits vorhanden";
        case ENOTEMPTY:
            return "Der Ordner ist nicht leer";
        case EBUSY:
        case ETXTBSY:
            return "Die Datei wird von einem anderen Programm verwendet";
        case EMFILE:
        case ENFILE:
            return "Zu viele geöffnete Dateien";
        case ENOMEM:
            return "Nicht genügend Arbeitsspeicher";
        case ELOOP:
            return "Zu viele symbolische Verknüpfungen im Pfad";
        case EINVAL:
            return "Der Name ist ungültig oder wird vom Datenträger nicht unterstützt";
        case ENODEV:
        case ENXIO:
            return "Das Gerät ist nicht bereit";
        case ESTALE:
        case ENOTCONN:
        case EHOSTDOWN:
        case EHOSTUNREACH:
        case ETIMEDOUT:
            return "Das Netzlaufwerk ist nicht erreichbar";
        default:
            return "Unbekannter Fehler (Fehlernummer " + std::to_string(code) + ")";
    }
}

bool destinationExhausted(OsCode code) {
    return code == ENOSPC || code == EDQUOT || code == EROFS;
}

}  // namespace vaultrix::fs
