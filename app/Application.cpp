#include "app/Application.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QScreen>
#include <QStandardPaths>

#include "app/AppConstants.h"

namespace vaultrix {

QRect primaryWorkArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

QString instanceLockFile(const std::filesystem::path& folder) {
    const QString absolute = QDir(QString::fromStdU16String(folder.u16string())).absolutePath();
    const QByteArray hash =
        QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStandardPaths::writableLocation(QStandardPaths::TempLocation) +
           QStringLiteral("/vaultrix-") + QString::fromLatin1(hash) + QStringLiteral(".lock");
}

Application::Application()
    : services_{std::filesystem::path(QDir::currentPath().toStdU16String()), clock_, messages_, sounds_, primaryWorkArea} {}

Application::Application(const FormServices& services) : services_(services) {}

Application::~Application() = default;

std::optional<int> Application::start() {
    lock_ = std::make_unique<QLockFile>(instanceLockFile(services_.dataFolder));
    // A lock is stale only when its process is gone, never by its age.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock()) {
        services_.messages.show(
            nullptr, QMessageBox::Information, QString::fromUtf8(kInformationTitle),
            QStringLiteral("Vaultrix 1.0 wird in diesem Ordner bereits ausgeführt."),
            QMessageBox::Ok);
        return 0;
    }
    // Only the main window's close ends the program; a message box closing while the window
    // is hidden must not.
    QApplication::setQuitOnLastWindowClosed(false);
    form_ = std::make_unique<Form1>(services_);
    QObject::connect(form_.get(), &Form1::closed, qApp, [] { QCoreApplication::exit(0); });
    if (!form_->create()) return 1;
    return std::nullopt;
}

bool Application::threadsLeft() const {
    return form_ != nullptr && form_->backgroundThreadsAlive();
}

}  // namespace vaultrix
