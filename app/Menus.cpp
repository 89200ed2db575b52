#include "app/Menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace vaultrix {
namespace {

QAction* addCommand(QMenu* menu, const QString& text, int command) {
    QAction* action = menu->addAction(text);
    action->setData(command);
    return action;
}

struct Accelerator {
    const char* keys;
    int command;
};
constexpr Accelerator kAccelerators[] = {{"Ctrl+T", kCommandIntroduction},
                                         {"Ctrl+Z", kCommandQuit},
                                         {"Ctrl+E", kCommandSettings},
                                         {"Ctrl+H", kCommandHelp},
                                         {"Ctrl+I", kCommandAbout}};

}  // namespace

WindowPopups buildMenus(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    bar->setObjectName(QStringLiteral("ID_Form1_menu_1"));
    QMenu* program = bar->addMenu(QStringLiteral("Programm"));
    addCommand(program, QStringLiteral("Einleitung"), kCommandIntroduction);
    program->addSeparator();
    addCommand(program, QStringLiteral("Beenden"), kCommandQuit);
    bar->addAction(QStringLiteral("Einstellung"))->setData(kCommandSettings);
    QMenu* info = bar->addMenu(QStringLiteral("Info"));
    addCommand(info, QStringLiteral("Tutorial"), kCommandTutorial);
    addCommand(info, QStringLiteral("Hilfe"), kCommandHelp);
    info->addSeparator();
    addCommand(info, QStringLiteral("Impressum"), kCommandAbout);

    // The accelerators belong to the window, not to the menu items, so the items show their
    // texts only. Ctrl+T stands for "Einleitung" and "Tutorial", which open the same page; a
    // key bound twice would be ambiguous, so it is bound once.
    for (const auto& [keys, command] : kAccelerators) {
        auto* accelerator = new QAction(&window);
        accelerator->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        accelerator->setData(command);
        window.addAction(accelerator);
        QObject::connect(accelerator, &QAction::triggered, findCommand(bar, command),
                         &QAction::trigger);
    }

    WindowPopups popups;
    popups.popup = new QMenu(&window);
    popups.popup->setObjectName(QStringLiteral("ID_Form1_popup"));
    addCommand(popups.popup, QStringLiteral("Anzeigen"), kTrayCommandShow);
    addCommand(popups.popup, QStringLiteral("Einstellung"), kTrayCommandSettings);
    addCommand(popups.popup, QStringLiteral("Minimieren"), kTrayCommandMinimise);
    popups.popup->addSeparator();
    addCommand(popups.popup, QStringLiteral("Beenden"), kTrayCommandQuit);

    popups.popup_ordner = new QMenu(&window);
    popups.popup_ordner->setObjectName(QStringLiteral("ID_Form1_popup_ordner"));
    addCommand(popups.popup_ordner, QStringLiteral("Ordner erstellen"), kFolderCommandCreateFolder);
    return popups;
}

QAction* findCommand(const QWidget* menu, int command) {
    for (QAction* action : menu->actions()) {
        if (QMenu* sub = action->menu()) {
            if (QAction* found = findCommand(sub, command)) return found;
        } else if (!action->isSeparator() && action->data().toInt() == command) {
            return action;
        }
    }
    return nullptr;
}

}  // namespace vaultrix
