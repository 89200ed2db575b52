#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/Application.h"
#include "app/Resources.h"

int main(int argc, char** argv) {
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
