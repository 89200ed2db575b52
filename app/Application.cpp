#include "app/Application.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QLockFile>
#include <QScreen>
#include <QStandardPaths>

#include "engine/RunLog.h"
#include "engine/SetRepair.h"
#include "platform/AtomicFile.h"
#include "shell/Style.h"
#include "store/BackupSetStore.h"
#include "store/SettingsStore.h"

namespace vaultrix {

QRect primaryWorkArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

QString instanceLockFile(const std::filesystem::path& folder) {
    return QDir(QString::fromStdU16String(folder.u16string()))
        .absoluteFilePath(QStringLiteral("vaultrix.lock"));
}

QString readOnlyFolderLockFile(const std::filesystem::path& folder) {
    const QFileInfo info(QString::fromStdU16String(folder.u16string()));
    const QString canonical = info.canonicalFilePath();
    const QString path = canonical.isEmpty() ? info.absoluteFilePath() : canonical;
    const QByteArray hash =
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStandardPaths::writableLocation(QStandardPaths::TempLocation) +
           QStringLiteral("/vaultrix-") + QString::fromLatin1(hash) + QStringLiteral(".lock");
}

Application::Application()
    : services_{std::filesystem::path(QDir::currentPath().toStdU16String()), clock_, messages_,
                sounds_, primaryWorkArea} {
    if (qtTexts_.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qtTexts_);
    }
}

Application::Application(const FormServices& services) : services_(services) {}

Application::~Application() = default;

std::optional<int> Application::start() {
    const auto takeLock = [this](const QString& file) {
        lock_ = std::make_unique<QLockFile>(file);
        // A lock is stale only when its process is gone, never by its age.
        lock_->setStaleLockTime(0);
        return lock_->tryLock();
    };
    bool locked = takeLock(instanceLockFile(services_.dataFolder));
    if (!locked && lock_->error() != QLockFile::LockFailedError) {
        locked = takeLock(readOnlyFolderLockFile(services_.dataFolder));
    }
    if (!locked) {
        services_.messages.show(
            nullptr, QMessageBox::Information, titled(QStringLiteral("Information")),
            QStringLiteral("Vaultrix 1.0 wird in diesem Ordner bereits ausgeführt."),
            QMessageBox::Ok);
        return 0;
    }
    // No other program of this folder runs now, so a temporary file of ours is a leftover of an
    // interrupted rewrite once its process is gone.
    removeStaleTemporaryFiles(services_.dataFolder,
                              {kSetFileName, kSetNameFileName, kLogFileName, kSettingsFileName});
    // Only the main window's close ends the program; a message box closing while the window
    // is hidden must not.
    QApplication::setQuitOnLastWindowClosed(false);
    app_ = std::make_unique<AppServices>(services_);
    // What a crash in the middle of a change left in the set files, before the sets are read.
    if (const Result<> repaired = repairStoredSets(app_->sets, app_->log); !repaired) {
        services_.messages.show(nullptr, QMessageBox::Warning, titled(QStringLiteral("Fehler")),
                                QString::fromStdString(repaired.error().message), QMessageBox::Ok);
    }
    form_ = std::make_unique<Form1>(*app_);
    QObject::connect(form_.get(), &Form1::closed, qApp, [] { QCoreApplication::exit(0); });
    if (!form_->create()) {
        // The program ends before it started: the folder is left as it was found.
        lock_.reset();
        return 1;
    }
    return std::nullopt;
}

bool Application::threadsLeft() const {
    return app_ != nullptr && app_->threadsAlive();
}

}  // namespace vaultrix
