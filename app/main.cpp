#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "app/Application.h"
#include "app/Resources.h"

namespace {

constexpr const char* kUsage =
    "Aufruf: vaultrix [--help | --version]\n"
    "\n"
    "Vaultrix sichert Dateien und Ordner zu festen Zeiten in einen Zielordner.\n"
    "Es liest und schreibt seine Dateien im Ordner, in dem es gestartet wird\n"
    "(vaultrix-start startet es in $XDG_DATA_HOME/Vaultrix oder ~/.local/share/Vaultrix).\n"
    "\n"
    "  -h, --help     zeigt diese Hilfe\n"
    "  -v, --version  zeigt die Version\n";

constexpr const char* kNoDisplay =
    "vaultrix: Keine grafische Anzeige erreichbar. Vaultrix braucht eine Desktop-Sitzung\n"
    "(X11 oder Wayland); starten Sie es dort oder auf einer virtuellen Anzeige (xvfb-run).\n";

// Answers the command line before the window system is touched, so the answers come without a
// display too: the help or the version (exit code 0), and the usage for anything else, since the
// program takes no other arguments (exit code 2). The first of several answers.
std::optional<int> answerCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument != "--help" && argument != "-h" && argument != "--version" &&
            argument != "-v") {
            std::fprintf(stderr, "vaultrix: unbekanntes Argument \u201E%s\u201C\n\n%s", argv[i],
                         kUsage);
            return 2;
        }
    }
    if (argc < 2) return std::nullopt;
    const std::string_view first = argv[1];
    std::fputs(first == "--version" || first == "-v" ? "Vaultrix 1.0\n" : kUsage, stdout);
    return 0;
}

bool present(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Qt ends the process (abort) when its window system cannot be reached. This handler, in place
// only while the application object connects, ends it with a German message and exit code 1.
// Qt's own last words there suggest reinstalling, which would not help.
void endWithoutDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(qFormatLogMessage(type, context, message)));
        return;
    }
    std::fputs(kNoDisplay, stderr);
    std::fflush(nullptr);
    std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> answered = answerCommandLine(argc, argv)) return *answered;
#ifdef Q_OS_LINUX
    // Without a platform named, Qt connects to X11 or Wayland, which needs one of these two.
    if (!present("QT_QPA_PLATFORM") && !present("DISPLAY") && !present("WAYLAND_DISPLAY")) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
#endif
    const QtMessageHandler previous = qInstallMessageHandler(endWithoutDisplay);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
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
