#include <windows.h>

#include "platform/FileSystem.h"

namespace vaultrix::fs {
namespace {

// Not declared by every SDK's headers: a user's disk quota on the volume is used up.
constexpr DWORD kDiskQuotaExceeded = 1295;

}  // namespace

std::string osErrorReason(OsCode code) {
    if (code == kOsCancelled) return "Der Vorgang wurde abgebrochen.";
    switch (static_cast<DWORD>(code)) {
        case ERROR_REQUEST_ABORTED:
            return "Der Vorgang wurde abgebrochen.";
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return "Datei oder Ordner nicht gefunden";
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
            return "Zugriff verweigert";
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
            return "Ein-/Ausgabefehler beim Zugriff auf den Datenträger";
        case ERROR_DIRECTORY:
            return "Ein Teil des Pfades ist kein Ordner";
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return "Die Datei oder der Ordner ist bereits vorhanden";
        case ERROR_DIR_NOT_EMPTY:
            return "Der Ordner ist nicht leer";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return "Die Datei wird von einem anderen Programm verwendet";
        case ERROR_TOO_MANY_OPEN_FILES:
            return "Zu viele geöffnete Dateien";
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return "Nicht genügend Arbeitsspeicher";
        case ERROR_INVALID_NAME:
            return "Der Name ist ungültig oder wird vom Datenträger nicht unterstützt";
        case ERROR_NOT_READY:
            return "Das Gerät ist nicht bereit";
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_NETNAME_DELETED:
        case ERROR_NETWORK_UNREACHABLE:
        case ERROR_UNEXP_NET_ERR:
            return "Das Netzlaufwerk ist nicht erreichbar";
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

}  // namespace vaultrix::fs
