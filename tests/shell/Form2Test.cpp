#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "app/FormFixture.h"
#include "shell/Form2.h"

namespace vaultrix::test {
namespace {

class SettingsTest : public FormTest {
protected:
    // Opens the settings dialog through the menu bar's "Einstellung".
    Form2* openSettings() {
        // A dialog closed before goes first.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        findCommand(form->menuBar(), kCommandSettings)->trigger();
        auto* dialog = form->findChild<Form2*>(QStringLiteral("Form2"));
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    static QCheckBox* box(Form2* dialog, const char* name) {
        return dialog->findChild<QCheckBox*>(QString::fromLatin1(name));
    }
    static void press(Form2* dialog, const char* button) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(button)),
                          Qt::LeftButton);
    }
    std::string settingsBytes() const { return readBytes(dir / "Einstellung.ini"); }
};

TEST_F(SettingsTest, OkWritesTheThreeKeysIntoAMissingFileInTheirOrder) {
    startForm();
    Form2* dialog = openSettings();
    // A second "Einstellung", here the tray's, brings the open dialog to the front.
    findCommand(control<QMenu>("ID_Form1_popup"), kTrayCommandSettings)->trigger();
    EXPECT_EQ(form->findChildren<Form2*>().size(), 1);
    for (const char* name : {"checkbox_kopie", "checkbox_status", "checkbox_sound_ani"}) {
        EXPECT_FALSE(box(dialog, name)->isChecked()) << name;
    }
    box(dialog, "checkbox_kopie")->setChecked(true);
    box(dialog, "checkbox_sound_ani")->setChecked(true);
    press(dialog, "cb_speichern");
    // The keyed file's rules: a new section follows an empty line, the last line has no end.
    EXPECT_EQ(settingsBytes(),
              "[EINSTELLUNG]\r\nstatus=0\r\nmethode=1\r\n\r\n[SOUNDANI]\r\nstatus=1");
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(SettingsTest, AbbrechenAndTheCloseBoxWriteNothingAndAHandEditedTwoTicksButStaysSilent) {
    const std::string edited = "[SOUNDANI]\r\nstatus=2\r\n[EINSTELLUNG]\r\nmethode=1\r\n";
    writeSettings(edited);
    startForm();
    Form2* dialog = openSettings();
    EXPECT_TRUE(box(dialog, "checkbox_sound_ani")->isChecked());
    EXPECT_TRUE(box(dialog, "checkbox_kopie")->isChecked());
    EXPECT_FALSE(box(dialog, "checkbox_status")->isChecked());
    box(dialog, "checkbox_status")->setChecked(true);
    press(dialog, "cb_1");
    EXPECT_EQ(settingsBytes(), edited);

    dialog = openSettings();
    box(dialog, "checkbox_kopie")->setChecked(false);
    dialog->close();
    EXPECT_EQ(settingsBytes(), edited);

    // "2" is not "1": sound and animation stay off.
    clickPicture(control("pictb_log_anzeigen"));
    EXPECT_TRUE(sounds.played.isEmpty());
}

}  // namespace
}  // namespace vaultrix::test
