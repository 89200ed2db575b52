// What the benchmark drivers that work through the program's own window share: their command
// line and the window's outside world.
#pragma once

#include <QMessageBox>
#include <QRect>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/AppServices.h"
#include "platform/Clock.h"
#include "shell/MessagePresenter.h"
#include "shell/SoundPlayer.h"

namespace vaultrix::bench {

// "NAME FOLDER [RUNS]": the folder to work in and how often to measure (3 unless given).
struct DriverArguments {
    std::filesystem::path folder;
    int runs = 3;
};

// The arguments, or nothing after the usage is printed.
inline std::optional<DriverArguments> readArguments(int argc, char** argv, const char* name) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [RUNS]\n", name);
        return std::nullopt;
    }
    return DriverArguments{argv[1], argc > 2 ? std::atoi(argv[2]) : 3};
}

// Message boxes would wait for a person; the benchmark counts them instead.
class CountingPresenter final : public MessagePresenter {
public:
    QMessageBox::StandardButton show(QWidget*, QMessageBox::Icon, const QString&, const QString&,
                                     QMessageBox::StandardButtons) override {
        ++shown;
        return QMessageBox::Ok;
    }
    int shown = 0;
};

// The real clock, no sounds, counted message boxes and a fixed work area of 1024 × 768. A run
// that shows a message box has failed.
struct WindowOutside {
    SystemClock clock;
    CountingPresenter presenter;
    SilentSoundPlayer sounds;

    FormServices services(const std::filesystem::path& folder) {
        return FormServices{folder, clock, presenter, sounds,
                            [] { return QRect(0, 0, 1024, 768); }};
    }
};

}  // namespace vaultrix::bench
