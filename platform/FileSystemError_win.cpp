#include <windows.h>

#include "platform/FileSystem.h"

namespace vaultrix::fs {
namespace {

// Not declared by every SDK's headers: a user's disk quota on the volume is used up; the cloud
// storage that holds a placeholder file (OneDrive, for one) is not running.
constexpr DWORD kDiskQuotaExceeded = 1295;
constexpr DWORD kCloudProviderNotRunning = 362;

}  // namespace

std::string osErrorReason(OsCode code) {
    if (code == kOsCancelled) return "Der Vorgang wurde abgebrochen.";
    switch (static_cast<DWORD>(code)) {
        case ERROR_REQUEST_ABORTED:
        case ERROR_OPERATION_ABORTED:
            return "Der Vorgang wurde abgebrochen.";
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return "Datei oder Ordner nicht gefunden";
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_NETWORK_ACCESS_DENIED:
            return "Zugriff verweigert";
        case ERROR_LOGON_FAILURE:
            return "Die Anmeldung am Netzlaufwerk ist fehlgeschlagen";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "Nicht genügend Speicherplatz auf dem Datenträger";
        case kDiskQuotaExceeded:
            return "Das Speicherkontingent auf dem Datenträger ist erschöpft";
        case ERROR_FILE_TOO_LARGE:
            return "Die Datei ist für den Zieldatenträger zu groß";
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BUFFER_OVERFLOW:
            return "Der Dateiname oder Pfad ist zu lang";
        case ERROR_WRITE_PROTECT:
            return "Der Datenträger ist schreibgeschützt";
        case ERROR_CRC:
        case ERROR_IO_DEVICE:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
        case ERROR_SECTOR_NOT_FOUND:
        case ERROR_SEEK:
            return "Ein-/Ausgabefehler beim Zugriff auf den Datenträger";
        case ERROR_DISK_CORRUPT:
        case ERROR_FILE_CORRUPT:
            return "Das Dateisystem des Datenträgers ist beschädigt und sollte geprüft werden";
        case ERROR_UNRECOGNIZED_VOLUME:
            return "Das Dateisystem des Datenträgers wird nicht erkannt";
        case ERROR_FILE_INVALID:
        case ERROR_MEDIA_CHANGED:
            return "Der Datenträger wurde entfernt oder gewechselt";
        case ERROR_DIRECTORY:
            return "Ein Teil des Pfades ist kein Ordner";
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return "Die Datei oder der Ordner ist bereits vorhanden";
        case ERROR_CANNOT_MAKE:
            return "Die Datei oder der Ordner kann nicht angelegt werden";
        case ERROR_DIR_NOT_EMPTY:
            return "Der Ordner ist nicht leer";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_BUSY:
        case ERROR_PATH_BUSY:
        case ERROR_USER_MAPPED_FILE:
            // What is left after the renames' retries: a scanner or indexer did not let go.
            return "Die Datei wird von einem anderen Programm verwendet, zum Beispiel von einem "
                   "Virenscanner";
        case ERROR_DELETE_PENDING:
            return "Die Datei wird gerade gelöscht";
        case ERROR_TOO_MANY_OPEN_FILES:
            return "Zu viele geöffnete Dateien";
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return "Nicht genügend Arbeitsspeicher";
        case ERROR_CANT_RESOLVE_FILENAME:
            return "Zu viele symbolische Verknüpfungen im Pfad";
        case ERROR_CANT_ACCESS_FILE:
            return "Die Datei ist eine Verknüpfung oder ein Platzhalter, den das System nicht "
                   "öffnen kann";
        case kCloudProviderNotRunning:
            return "Der Cloud-Speicher, der die Datei bereithält, läuft nicht";
        case ERROR_NOT_A_REPARSE_POINT:
            return "Die Datei oder der Ordner ist keine Verknüpfung";
        case ERROR_TOO_MANY_LINKS:
            return "Der Ordner enthält zu viele Einträge oder die Datei zu viele Verknüpfungen";
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
            return "Der Name ist ungültig oder wird vom Datenträger nicht unterstützt";
        case ERROR_INVALID_PARAMETER:
            return "Der Datenträger hat den Vorgang als ungültig abgelehnt";
        case ERROR_NOT_SUPPORTED:
        case ERROR_CALL_NOT_IMPLEMENTED:
        case ERROR_INVALID_FUNCTION:
            return "Der Vorgang wird vom Datenträger oder seinem Dateisystem nicht unterstützt";
        case ERROR_NOT_SAME_DEVICE:
            return "Der Vorgang ist nur innerhalb eines Laufwerks möglich";
        case ERROR_NOT_READY:
        case ERROR_DEVICE_NOT_CONNECTED:
            return "Das Gerät ist nicht bereit";
        case ERROR_NO_MEDIA_IN_DRIVE:
            return "Im Laufwerk ist kein Datenträger eingelegt";
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_NETWORK_UNREACHABLE:
        case ERROR_HOST_UNREACHABLE:
        case ERROR_NO_NETWORK:
        case ERROR_REM_NOT_LIST:
        case ERROR_CONNECTION_REFUSED:
            return "Das Netzlaufwerk ist nicht erreichbar";
        case ERROR_NOT_CONNECTED:
            return "Das Netzlaufwerk ist nicht verbunden";
        // Both a share and a USB drive that was pulled out give it.
        case ERROR_DEV_NOT_EXIST:
            return "Das Laufwerk oder Netzlaufwerk ist nicht mehr verfügbar";
        // A share that stopped answering, and just as often a failing USB drive.
        case ERROR_SEM_TIMEOUT:
        case ERROR_TIMEOUT:
            return "Das Laufwerk oder Netzlaufwerk antwortet nicht (Zeitüberschreitung)";
        case ERROR_NETNAME_DELETED:
        case ERROR_UNEXP_NET_ERR:
        case ERROR_NETWORK_BUSY:
        case ERROR_BAD_NET_RESP:
        case ERROR_CONNECTION_ABORTED:
            return "Die Verbindung zum Netzlaufwerk wurde unterbrochen";
        default:
            return "Unbekannter Fehler (Fehlernummer " + std::to_string(code) + ")";
    }
}

bool destinationExhausted(OsCode code) {
    switch (static_cast<DWORD>(code)) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
        case kDiskQuotaExceeded:
        case ERROR_WRITE_PROTECT:
            return true;
        default:
            return false;
    }
}

bool linksRefused(OsCode code) {
    return code == ERROR_PRIVILEGE_NOT_HELD || code == ERROR_NOT_SUPPORTED ||
           code == ERROR_INVALID_FUNCTION;
}

bool entryNotFound(OsCode code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

}  // namespace vaultrix::fs
