#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "app/Application.h"
#include "app/Resources.h"

namespace {

constexpr const char* kUsage =
    "Aufruf: vaultrix [--help | --version]\n"
    "\n"
    "Vaultrix sichert Dateien und Ordner zu festen Zeiten in einen Zielordner.\n"
    "Es liest und schreibt seine Dateien im Ordner, in dem es gestartet wird\n"
    "(vaultrix-start startet es in ~/.local/share/Vaultrix).\n"
    "\n"
    "  --help     zeigt diese Hilfe\n"
    "  --version  zeigt die Version\n";

// Answers --help and --version before the window system is touched, so both work without a
// display. Every other argument goes to Qt as before.
std::optional<int> answerCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("Vaultrix 1.0\n", stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> answered = answerCommandLine(argc, argv)) return *answered;
    QApplication app(argc, argv);
    vaultrix::loadResources();
    vaultrix::Application program;
    if (const std::optional<int> early = program.start()) return *early;
    const int code = QApplication::exec();
    if (program.threadsLeft()) {
        // A thread that did not end in time ends with the process, never with its objects.
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
