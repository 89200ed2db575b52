#include "shell/WebShortcut.h"

#include <QDesktopServices>
#include <QDir>
#include <QSaveFile>
#include <QUrl>

#include "shell/Maker.h"

namespace vaultrix {
namespace {

void openInternetShortcut(const QString& folder, const QString& target, const QUrl& targetUrl) {
    const QString file = QDir(folder).filePath(QString::fromLatin1(kShortcutFileName));
    QSaveFile shortcut(file);
    // Text mode writes each line break as the system's line end; the text is in the system's
    // code page, which is what the shell reads such files in.
    if (shortcut.open(QIODevice::WriteOnly | QIODevice::Text)) {
        shortcut.write(QStringLiteral("[DEFAULT]\nBASEURL=%1\n[InternetShortcut]\nURL=%1")
                           .arg(target)
                           .toLocal8Bit());
        shortcut.commit();
    }
#if defined(Q_OS_WIN)
    Q_UNUSED(targetUrl);
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
#else
    QDesktopServices::openUrl(targetUrl);
#endif
}

}  // namespace

QString tutorialPath(const QString& folder) {
    const QChar separator = QDir::separator();
    return QDir::toNativeSeparators(folder) + separator + QStringLiteral("Tutorial") + separator +
           QStringLiteral("vx_start.html");
}

void openMakerWebPage(const QString& folder) {
    const QString page = QString::fromLatin1(kMakerWebPage);
    openInternetShortcut(folder, page, QUrl(page));
}

void openTutorial(const QString& folder) {
    const QString page = tutorialPath(folder);
    openInternetShortcut(folder, page, QUrl::fromLocalFile(page));
}

}  // namespace vaultrix
