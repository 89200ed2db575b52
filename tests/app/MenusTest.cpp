#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <filesystem>
#include <map>
#include <utility>
#include <vector>

#include "FormFixture.h"

namespace vaultrix::test {
namespace {

// The entries of a menu as "text" or "text=command", separators as "-".
QStringList entries(const QWidget* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            texts << QStringLiteral("-");
        } else if (action->menu() != nullptr) {
            texts << action->text();
        } else {
            texts << action->text() + QLatin1Char('=') + action->data().toString();
        }
    }
    return texts;
}

TEST_F(FormTest, MenusAndPopupsCarryTheirTextsAndCommandNumbers) {
    Form1& window = startForm();
    EXPECT_EQ(entries(window.menuBar()),
              (QStringList{QStringLiteral("Programm"), QStringLiteral("Einstellung=1004"),
                           QStringLiteral("Info")}));
    const QList<QAction*> bar = window.menuBar()->actions();
    EXPECT_EQ(entries(bar[0]->menu()),
              (QStringList{QStringLiteral("Einleitung=1001"), QStringLiteral("-"),
                           QStringLiteral("Beenden=1003")}));
    EXPECT_EQ(entries(bar[2]->menu()),
              (QStringList{QStringLiteral("Tutorial=1006"), QStringLiteral("Hilfe=1007"),
                           QStringLiteral("-"), QStringLiteral("Impressum=1009")}));
    EXPECT_EQ(entries(control<QMenu>("ID_Form1_popup")),
              (QStringList{QStringLiteral("Anzeigen=10000"), QStringLiteral("Einstellung=10001"),
                           QStringLiteral("Minimieren=10002"), QStringLiteral("-"),
                           QStringLiteral("Beenden=10004")}));
    EXPECT_EQ(entries(control<QMenu>("ID_Form1_popup_ordner")),
              QStringList{QStringLiteral("Ordner erstellen=10000")});
}

TEST_F(FormTest, EachAcceleratorIsBoundOnceAndMenuItemsShowOnlyTheirTexts) {
    Form1& window = startForm();
    std::map<QString, int> commandOfKey;
    for (const QAction* action : window.actions()) {
        if (!action->shortcut().isEmpty()) {
            EXPECT_TRUE(
                commandOfKey.emplace(action->shortcut().toString(), action->data().toInt()).second);
        }
    }
    const std::map<QString, int> expected{{QStringLiteral("Ctrl+T"), kCommandIntroduction},
                                          {QStringLiteral("Ctrl+Z"), kCommandQuit},
                                          {QStringLiteral("Ctrl+E"), kCommandSettings},
                                          {QStringLiteral("Ctrl+H"), kCommandHelp},
                                          {QStringLiteral("Ctrl+I"), kCommandAbout}};
    EXPECT_EQ(commandOfKey, expected);
    for (const auto& [key, command] : expected) {
        EXPECT_TRUE(findCommand(window.menuBar(), command)->shortcut().isEmpty()) << command;
    }
    EXPECT_TRUE(findCommand(window.menuBar(), kCommandTutorial)->shortcut().isEmpty());

    // The key runs its menu item's command.
    bool closed = false;
    QObject::connect(&window, &Form1::closed, [&] { closed = true; });
    for (QAction* action : window.actions()) {
        if (action->shortcut() == QKeySequence(QStringLiteral("Ctrl+Z"))) action->trigger();
    }
    EXPECT_TRUE(closed);
}

TEST_F(FormTest, EveryAcceleratorWorksWithTheFocusInATextField) {
    for (const char* name : {"textb_name_der_sicherung", "mtextb_uhr", "textb_nach"}) {
        SCOPED_TRACE(name);
        Form1& window = startForm();
        clickPicture(control("pictb_anlegen"));
        auto* field = control<QLineEdit>(name);
        field->setText(QStringLiteral("1234"));
        const auto focusField = [&] {
            QApplication::setActiveWindow(&window);
            field->setFocus();
            field->setCursorPosition(0);
            return QTest::qWaitFor([&] { return field->hasFocus(); }, 5000);
        };
        for (const auto& [key, opened] :
             {std::pair{Qt::Key_E, "Form2"}, std::pair{Qt::Key_H, "Form4_hilfe"},
              std::pair{Qt::Key_I, "Form3_impressum"}}) {
            ASSERT_TRUE(focusField());
            QTest::keyClick(field, key, Qt::ControlModifier);
            auto* secondary = window.findChild<QWidget*>(QString::fromLatin1(opened));
            ASSERT_NE(secondary, nullptr) << opened;
            EXPECT_TRUE(secondary->isVisible()) << opened;
            delete secondary;
        }
        ASSERT_TRUE(focusField());
        QTest::keyClick(field, Qt::Key_T, Qt::ControlModifier);
        EXPECT_TRUE(std::filesystem::exists(dir / "internet.url"));
        std::filesystem::remove(dir / "internet.url");
        // None of the keys reached the field: its cursor stayed at the start.
        EXPECT_EQ(field->cursorPosition(), 0);

        bool closed = false;
        QObject::connect(&window, &Form1::closed, [&] { closed = true; });
        ASSERT_TRUE(focusField());
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(closed);
    }
}

TEST_F(FormTest, MinimierenHidesTheWindowToTheTrayOrWithoutOneMinimisesItAndBeendenCloses) {
    trayAvailable = true;
    Form1& window = startForm();
    auto* popup = control<QMenu>("ID_Form1_popup");
    findCommand(popup, kTrayCommandMinimise)->trigger();
    EXPECT_FALSE(window.isVisible());
    findCommand(popup, kTrayCommandShow)->trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
    // Without a tray nothing could show a hidden window again.
    trayAvailable = false;
    findCommand(popup, kTrayCommandMinimise)->trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
    bool closed = false;
    QObject::connect(&window, &Form1::closed, [&] { closed = true; });
    findCommand(popup, kTrayCommandQuit)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closed; }, 5000));
}

TEST_F(FormTest, OrdnerErstellenIsOfferedOnlyForAChosenDestination) {
    startForm();
    QAction* create = findCommand(control<QMenu>("ID_Form1_popup_ordner"), 10000);
    Q_EMIT control<QMenu>("ID_Form1_popup_ordner")->aboutToShow();
    EXPECT_FALSE(create->isEnabled());
    control<QLineEdit>("textb_nach")->setText(QStringLiteral("/daten"));
    Q_EMIT control<QMenu>("ID_Form1_popup_ordner")->aboutToShow();
    EXPECT_TRUE(create->isEnabled());
}

TEST_F(FormTest, ActivationTakesThePendingPathAndRereadsTheAnimationSetting) {
    Form1& window = startForm();
    writeSettings("[EINSTELLUNG]\r\nstatus=0\r\n\r\n[SOUNDANI]\r\nstatus=1\r\n");
    auto* destination = control<QLineEdit>("textb_nach");
    destination->setText(QStringLiteral("/daten/neu"));
    findCommand(control<QMenu>("ID_Form1_popup_ordner"), kFolderCommandCreateFolder)->trigger();
    EXPECT_NE(readBytes(dir / "Einstellung.ini").find("pfad=/daten/neu\r\n"), std::string::npos);
    destination->clear();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return destination->text() == QStringLiteral("/daten/neu"); }, 5000));
    EXPECT_NE(readBytes(dir / "Einstellung.ini").find("pfad=\r\n"), std::string::npos);
    // The path is taken once; the sound setting is read again at every activation.
    destination->setText(QStringLiteral("/eigene"));
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }, 5000));
    EXPECT_EQ(destination->text(), QStringLiteral("/eigene"));
    sounds.played.clear();
    clickPicture(control("pictb_log_anzeigen"));
    EXPECT_TRUE(sounds.played.contains(QStringLiteral("KLICK")));
}

}  // namespace
}  // namespace vaultrix::test
