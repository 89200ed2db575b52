// Times the stored-file targets through the program's own code: appending one record to a
// 50 MB log (the record and the trim down to 4200 bytes) and opening the log page on a 50 MB log
// until the window has painted it, each on a fresh 50 MB log; and, with the sets of SETS (copied
// afresh for every run), how long deleting, saving and renaming one set keep the window thread:
// the whole command as the window runs it, from the click to the painted main page.
//
// Usage: store_bench FOLDER [RUNS] [SETS]    (needs a display: a virtual one or offscreen)
// Prints "append <ms>", "logpage <ms>" and, with SETS, "delete <ms>", "save <ms>" and
// "rename <ms>" for every run.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/AppServices.h"
#include "app/Form1.h"
#include "app/Resources.h"
#include "bench/WindowDriver.h"
#include "engine/RunLog.h"

namespace {

constexpr std::uintmax_t kLogBytes = 50u << 20;

// A log of real records, as the program writes them, of at least kLogBytes.
void writeLargeLog(const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    std::string chunk;
    for (int i = 0; chunk.size() < (1u << 20); ++i) {
        chunk += "[06.12.2026 19:30:05]\r\nSicherung=gestartet\r\nName=Sicherung " +
                 std::to_string(i % 10000) + "\r\nVerlauf=ok\r\n\r\n";
    }
    for (std::uintmax_t written = 0; written < kLogBytes; written += chunk.size()) out << chunk;
}

// A click on a picture button, as the user gives it.
void clickPicture(QWidget& window, const char* name) {
    auto* picture = window.findChild<QWidget*>(QString::fromUtf8(name));
    QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(5, 5));
}

// The milliseconds the window thread takes for the click and the painting after it.
qint64 timeClick(QWidget& window, const char* picture) {
    QElapsedTimer timer;
    timer.start();
    clickPicture(window, picture);
    window.repaint();
    QCoreApplication::processEvents();
    return timer.elapsed();
}

// Deleting, saving and renaming the set in the middle of the list, each on a fresh copy of the
// stored sets. False when a command did not do what it should.
bool timeSetCommands(const std::filesystem::path& folder, const std::filesystem::path& sets,
                     vaultrix::bench::WindowOutside& outside) {
    namespace fs = std::filesystem;
    for (const char* command : {"delete", "save", "rename"}) {
        const fs::path work = folder / command;
        fs::remove_all(work);
        fs::create_directories(work);
        for (const char* file : {vaultrix::kSetFileName, vaultrix::kSetNameFileName}) {
            fs::copy_file(sets / file, work / file);
        }
        vaultrix::AppServices services(outside.services(work));
        vaultrix::Form1 window(services);
        if (!window.create()) return false;
        QCoreApplication::processEvents();
        auto* list = window.findChild<QListWidget*>(QStringLiteral("lb_anzeige"));
        const int count = list->count();
        // Picked as a person picks it: the commands act on the set whose details are shown.
        list->scrollToItem(list->item(count / 2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(count / 2)).center());
        const QString name = list->currentItem()->text();
        const int shown = outside.presenter.shown;
        auto* field = window.findChild<QLineEdit*>(QStringLiteral("textb_name_der_sicherung"));
        qint64 elapsed = 0;
        QString expected = name;
        if (command == std::string("delete")) {
            elapsed = timeClick(window, "pictb_loeschen");
            expected.clear();
        } else {
            clickPicture(window, "pictb_bearbeiten");
            QCoreApplication::processEvents();
            if (command == std::string("rename")) expected = name + QStringLiteral(" neu");
            field->setText(expected);
            // A change offers the save button.
            auto* active = window.findChild<QCheckBox*>(QStringLiteral("checkbox_aktiv"));
            active->click();
            active->click();
            elapsed = timeClick(window, "pictb_sicherung_speichern");
        }
        const auto listed = [list](const QString& text) {
            return !list->findItems(text, Qt::MatchExactly).isEmpty();
        };
        const bool deleted = expected.isEmpty();
        // A saved set has left the editor; only a deletion asks a question first.
        const bool done = field->text().isEmpty() && list->count() == count - (deleted ? 1 : 0) &&
                          (deleted || listed(expected)) && (expected == name || !listed(name)) &&
                          outside.presenter.shown - shown == (deleted ? 1 : 0);
        outside.presenter.shown = shown;
        window.close();
        if (!done) {
            std::fprintf(stderr, "%s did not change the list as it should\n", command);
            return false;
        }
        std::printf("%s %lld\n", command, static_cast<long long>(elapsed));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto arguments = vaultrix::bench::readArguments(argc, argv, "store_bench");
    if (!arguments) return 2;
    vaultrix::loadResources();
    const auto& [folder, runs] = *arguments;
    const std::filesystem::path log = folder / vaultrix::kLogFileName;
    vaultrix::bench::WindowOutside outside;

    for (int run = 0; run < runs; ++run) {
        writeLargeLog(log);
        vaultrix::RunLog runLog(folder, outside.clock);
        QElapsedTimer timer;
        timer.start();
        const bool appended = runLog.AppendRecord("ok", "Daten", "gestartet").ok();
        const qint64 elapsed = timer.elapsed();
        if (!appended || std::filesystem::file_size(log) > 4200) {
            std::fprintf(stderr, "the record was not appended and trimmed\n");
            return 2;
        }
        std::printf("append %lld\n", static_cast<long long>(elapsed));
    }

    for (int run = 0; run < runs; ++run) {
        writeLargeLog(log);
        vaultrix::AppServices services(outside.services(folder));
        vaultrix::Form1 window(services);
        if (!window.create()) return 2;
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        window.findChild<QPushButton*>(QStringLiteral("cb_log_anzeigen"))->click();
        window.repaint();
        QCoreApplication::processEvents();
        const qint64 elapsed = timer.elapsed();
        window.close();
        std::printf("logpage %lld\n", static_cast<long long>(elapsed));
    }

    if (argc > 3) {
        for (int run = 0; run < runs; ++run) {
            if (!timeSetCommands(folder, argv[3], outside)) return 2;
        }
    }
    std::fflush(stdout);
    return outside.presenter.shown == 0 ? 0 : 2;
}
