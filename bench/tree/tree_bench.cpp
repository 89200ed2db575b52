// Times the folder tree on a folder of 100,000 files through the program's own window: the
// editor page is opened on a tree whose one top holds the folder, the top is opened (which
// lists the folder one level ahead) and then the folder itself. Measured are the time until
// all entries stand in the tree and the longest time the window thread did not get round to a
// 1 ms timer meanwhile: how long the window was unresponsive at worst.
//
// Usage: tree_bench FOLDER [RUNS]    (needs a display: a virtual one or offscreen)
// Prints "listed <ms>", "stall <ms>" and "open <ms>" for every run.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/AppServices.h"
#include "app/Form1.h"
#include "app/Resources.h"
#include "platform/Clock.h"
#include "shell/MessagePresenter.h"
#include "shell/SoundPlayer.h"

namespace {

constexpr int kEntries = 100000;

class CountingPresenter final : public vaultrix::MessagePresenter {
public:
    QMessageBox::StandardButton show(QWidget*, QMessageBox::Icon, const QString&, const QString&,
                                     QMessageBox::StandardButtons) override {
        ++shown;
        return QMessageBox::Ok;
    }
    int shown = 0;
};

// Runs the event loop until `done` holds; the longest gap between two turns of a 1 ms timer
// goes to `stall`. False after a minute.
template <class Done>
bool runUntil(Done done, qint64& stall) {
    QElapsedTimer total;
    total.start();
    QElapsedTimer sinceTick;
    sinceTick.start();
    stall = 0;
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

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tree_bench FOLDER [RUNS]\n");
        return 2;
    }
    vaultrix::loadResources();
    const std::filesystem::path folder = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::filesystem::path top = folder / "baum";
    std::filesystem::create_directories(top / "gross");
    for (int i = 0; i < kEntries; ++i) {
        std::ofstream(top / "gross" / ("datei_" + std::to_string(i) + ".txt"));
    }

    vaultrix::SystemClock clock;
    CountingPresenter presenter;
    vaultrix::SilentSoundPlayer sounds;
    for (int run = 0; run < runs; ++run) {
        vaultrix::FormServices outside{folder, clock, presenter, sounds,
                                       [] { return QRect(0, 0, 1024, 768); }};
        outside.volumeRoots = [&top] { return std::vector<std::string>{top.string()}; };
        vaultrix::AppServices services(outside);
        vaultrix::Form1 window(services);
        if (!window.create()) return 2;
        auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("tv_dir"));
        window.findChild<QPushButton*>(QStringLiteral("cb_anlegen"))->click();
        qint64 stall = 0;
        if (!runUntil([&] { return tree->topLevelItemCount() == 1 &&
                                   tree->topLevelItem(0)->childCount() == 1; },
                      stall)) {
            return 2;
        }
        QTreeWidgetItem* large = tree->topLevelItem(0)->child(0);
        QElapsedTimer timer;
        timer.start();
        tree->topLevelItem(0)->setExpanded(true);
        if (!runUntil([&] { return large->childCount() == kEntries; }, stall)) return 2;
        const qint64 listed = timer.elapsed();
        timer.restart();
        large->setExpanded(true);
        window.repaint();
        const qint64 opened = timer.elapsed();
        window.close();
        std::printf("listed %lld\nstall %lld\nopen %lld\n", static_cast<long long>(listed),
                    static_cast<long long>(stall), static_cast<long long>(opened));
    }
    std::fflush(stdout);
    return presenter.shown == 0 ? 0 : 2;
}
