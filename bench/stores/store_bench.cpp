// Times the stored-file targets on a large log through the program's own code: appending one
// record to a 50 MB log (the record and the trim down to 4200 bytes) and opening the log page
// on a 50 MB log until the window has painted it. Each is measured on a fresh 50 MB log.
//
// Usage: store_bench FOLDER [RUNS]    (needs a display: a virtual one or offscreen)
// Prints "append <ms>" and "logpage <ms>" for every run.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
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
    std::fflush(stdout);
    return outside.presenter.shown == 0 ? 0 : 2;
}
