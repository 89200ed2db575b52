// Times the main window against a network share that takes 10 s to answer each path test,
// through the program's own window: a set whose destination lies on the share is clicked in
// the set list, then the share is selected in the editor's folder tree. Measured are the
// longest time the window thread did not get round to a 1 ms timer meanwhile (how long the
// window was unresponsive at worst), when the set's details stood in the text box, and when
// the answers came: the warning about the missing destination and the destination picture.
//
// Usage: window_bench FOLDER [RUNS]    (needs a display: a virtual one or offscreen)
// Prints "stall <ms>", "details <ms>", "warning <ms>" and "folder <ms>" for every run.
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "app/AppServices.h"
#include "app/Form1.h"
#include "app/Resources.h"
#include "bench/WindowDriver.h"
#include "platform/FolderListing.h"
#include "platform/PathExists.h"
#include "shell/PictureBox.h"
#include "store/BackupSetStore.h"

namespace {

constexpr std::chrono::seconds kShareDelay{10};

// Runs the event loop until `done` holds; the longest gap between two turns of a 1 ms timer
// goes into `stall`. False after a minute.
template <class Done>
bool runUntil(Done done, qint64& stall) {
    QElapsedTimer total;
    total.start();
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        stall = std::max(stall, sinceTick.restart());
        if (done() || total.elapsed() > 60000) QCoreApplication::exit();
    });
    ticker.start();
    QCoreApplication::exec();
    return done();
}

// A left click on the list entry, delivered by the event loop as a person's would be.
void postClick(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    const QPoint global = list->viewport()->mapToGlobal(at);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QCoreApplication::postEvent(
            list->viewport(),
            new QMouseEvent(type, at, global, Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto arguments = vaultrix::bench::readArguments(argc, argv, "window_bench");
    if (!arguments) return 2;
    vaultrix::loadResources();
    const auto& [folder, runs] = *arguments;
    const std::filesystem::path share = folder / "netz";
    const std::filesystem::path local = folder / "lokal";
    std::filesystem::create_directories(share);
    std::filesystem::create_directories(local / "ziel");
    vaultrix::BackupSetStore store(folder);
    // "Lokal" comes first in the list and is shown at the start; "Netz" backs up to the share.
    if (!store
             .saveNewSet(
                 {"Lokal", {local.string()}, (local / "ziel").string(), "Montag", "08:00", false})
             .ok() ||
        !store
             .saveNewSet({"Netz",
                          {local.string()},
                          (share / "sicherung").string(),
                          "Montag",
                          "08:00",
                          false})
             .ok()) {
        return 2;
    }
    // Every path on the share takes kShareDelay to answer.
    const auto onShare = [share](const std::string& path) {
        if (!path.starts_with(share.string())) return false;
        std::this_thread::sleep_for(kShareDelay);
        return true;
    };

    vaultrix::bench::WindowOutside outside;
    for (int run = 0; run < runs; ++run) {
        vaultrix::FormServices given = outside.services(folder);
        given.volumeRoots = [&share] { return std::vector<std::string>{share.string()}; };
        given.pathExists = [onShare](const std::string& path) {
            return !onShare(path) && vaultrix::PathExists(path);
        };
        given.isFolderPath = [onShare](const std::string& path) {
            onShare(path);
            return vaultrix::fs::isFolderPath(path);
        };
        outside.presenter.shown = 0;
        vaultrix::AppServices services(given);
        vaultrix::Form1 window(services);
        if (!window.create()) return 2;
        auto* list = window.findChild<QListWidget*>(QStringLiteral("lb_anzeige"));
        auto* details = window.findChild<QTextEdit*>(QStringLiteral("rtb_anzeige"));
        auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("tv_dir"));
        auto* target = window.findChild<vaultrix::PictureBox*>(QStringLiteral("pictb_ziel"));

        qint64 stall = 0;
        QElapsedTimer timer;
        timer.start();
        postClick(list, 1);
        qint64 shown = -1;
        if (!runUntil(
                [&] {
                    if (shown < 0 && details->toPlainText().startsWith(
                                         QStringLiteral("Sicherungsname: Netz\n"))) {
                        shown = timer.elapsed();
                    }
                    return outside.presenter.shown == 1;
                },
                stall)) {
            return 2;
        }
        const qint64 warned = timer.elapsed();

        window.findChild<QPushButton*>(QStringLiteral("cb_anlegen"))->click();
        if (!runUntil([&] { return tree->topLevelItemCount() == 1; }, stall)) return 2;
        timer.restart();
        QTimer::singleShot(0, tree, [tree] { tree->setCurrentItem(tree->topLevelItem(0)); });
        if (!runUntil([&] { return target->bitmapNumber() == 106; }, stall)) return 2;
        const qint64 folderAnswered = timer.elapsed();
        window.close();
        std::printf("stall %lld\ndetails %lld\nwarning %lld\nfolder %lld\n",
                    static_cast<long long>(stall), static_cast<long long>(shown),
                    static_cast<long long>(warned), static_cast<long long>(folderAnswered));
        std::fflush(stdout);
    }
    return 0;
}
