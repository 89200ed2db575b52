#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/FileSystem_posix.h"

namespace vaultrix::fs {

std::string osErrorReason(OsCode code) {
    switch (code) {
        case kOsCancelled:
        case ECANCELED:
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
        case EOVERFLOW:
            return "Die Datei ist für diesen Vorgang zu groß";
        case ENAMETOOLONG:
            return "Der Dateiname oder Pfad ist zu lang";
        case EROFS:
            return "Der Datenträger ist schreibgeschützt";
        case EIO:
            return "Ein-/Ausgabefehler beim Zugriff auf den Datenträger";
#ifdef EUCLEAN
        case EUCLEAN:
#endif
        case EBADMSG:
            return "Das Dateisystem des Datenträgers ist beschädigt und sollte geprüft werden";
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
        case EAGAIN:
        case ENOLCK:
        case EDEADLK:
            return "Die Datei ist gesperrt oder vorübergehend nicht verfügbar";
        case EINTR:
            return "Der Vorgang wurde vom System unterbrochen";
        case EMFILE:
        case ENFILE:
            return "Zu viele geöffnete Dateien";
        case ENOMEM:
            return "Nicht genügend Arbeitsspeicher";
        case ELOOP:
            return "Zu viele symbolische Verknüpfungen im Pfad";
        case EMLINK:
            return "Der Ordner enthält zu viele Einträge oder die Datei zu viele Verknüpfungen";
        case EINVAL:
            return "Der Name ist ungültig oder wird vom Datenträger nicht unterstützt";
        case EILSEQ:
            return "Der Name enthält Zeichen, die der Datenträger nicht unterstützt";
        case ENOSYS:
        case EOPNOTSUPP:
#if ENOTSUP != EOPNOTSUPP
        case ENOTSUP:
#endif
        case ENOTTY:
            return "Der Vorgang wird vom Datenträger oder seinem Dateisystem nicht unterstützt";
        case EXDEV:
            return "Der Vorgang ist nur innerhalb eines Laufwerks möglich";
        case ENODEV:
        case ENXIO:
            return "Das Gerät ist nicht bereit";
#ifdef __linux__
        case ENOMEDIUM:
            return "Im Laufwerk ist kein Datenträger eingelegt";
        case ENOKEY:
            return "Der Ordner ist verschlüsselt und nicht entsperrt";
#endif
        case ESTALE:
        case ENOTCONN:
        case EHOSTDOWN:
        case EHOSTUNREACH:
        case ENETDOWN:
        case ENETUNREACH:
        case ECONNREFUSED:
        case ETIMEDOUT:
            return "Das Netzlaufwerk ist nicht erreichbar";
        case ECONNRESET:
        case ECONNABORTED:
        case ENETRESET:
        case ENOLINK:
        case EPROTO:
#ifdef __linux__
        case ECOMM:
        case EREMOTEIO:
#endif
            return "Die Verbindung zum Netzlaufwerk wurde unterbrochen";
        default:
            return "Unbekannter Fehler (Fehlernummer " + std::to_string(code) + ")";
    }
}

bool destinationExhausted(OsCode code) {
    return code == ENOSPC || code == EDQUOT || code == EROFS;
}

bool attributeRefused(OsCode code) {
    return code == ENOSYS || code == EPERM || code == ENOTSUP || code == EOPNOTSUPP;
}

// A file system without links refuses them with the codes it refuses attributes with.
bool linksRefused(OsCode code) {
    return attributeRefused(code);
}

bool entryNotFound(OsCode code) {
    return code == ENOENT || code == ENOTDIR;
}

}  // namespace vaultrix::fs
