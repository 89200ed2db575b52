#include "app/Application.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QLockFile>
#include <QScreen>

#include "engine/SetRepair.h"
#include "platform/AtomicFile.h"
#include "platform/PathText.h"
#include "shell/Style.h"
#include "store/DataFiles.h"

namespace vaultrix {

QRect primaryWorkArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

QString instanceLockFile(const std::filesystem::path& folder) {
    return QDir(QString::fromStdU16String(folder.u16string()))
        .absoluteFilePath(QStringLiteral("vaultrix.lock"));
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
    // Two programs of this computer meet at the folder's identity, whatever path, link or
    // environment each came by, also in a read-only folder. Programs of two computers that share
    // the folder over the network meet at the lock file in it, where the folder takes one.
    bool runs =
        folderLock_.tryLock(fs::pathText(services_.dataFolder)) == InstanceLock::Outcome::held;
    if (!runs) {
        lock_ = std::make_unique<QLockFile>(instanceLockFile(services_.dataFolder));
        // A lock is stale only when its process is gone, never by its age.
        lock_->setStaleLockTime(0);
        runs = !lock_->tryLock() && lock_->error() == QLockFile::LockFailedError;
    }
    if (runs) {
        folderLock_.release();
        services_.messages.show(
            nullptr, QMessageBox::Information, titled(QStringLiteral("Information")),
            QStringLiteral("Vaultrix 1.0 wird in diesem Ordner bereits ausgeführt."),
            QMessageBox::Ok);
        return 0;
    }
    // No other program of this folder runs now, so a temporary file of ours is a leftover of an
    // interrupted rewrite once its process is gone.
    removeStaleTemporaryFiles(services_.dataFolder, kDataFiles);
    // Only the main window's close ends the program; a message box closing while the window
    // is hidden must not.
    QApplication::setQuitOnLastWindowClosed(false);
    app_ = std::make_unique<AppServices>(services_);
    // What a crash in the middle of a change left in the set files, before the sets are read.
    if (const Result<> repaired = repairStoredSets(app_->sets(), app_->log()); !repaired) {
        services_.messages.show(nullptr, QMessageBox::Warning, titled(QStringLiteral("Fehler")),
                                QString::fromStdString(repaired.error().message), QMessageBox::Ok);
    }
    form_ = std::make_unique<Form1>(*app_);
    QObject::connect(form_.get(), &Form1::closed, qApp, [] { QCoreApplication::exit(0); });
    if (!form_->create()) {
        // The program ends before it started: the folder is left as it was found.
        lock_.reset();
        folderLock_.release();
        return 1;
    }
    return std::nullopt;
}

bool Application::threadsLeft() const {
    return app_ != nullptr && app_->threadsAlive();
}

}  // namespace vaultrix
