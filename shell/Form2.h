#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace vaultrix {

class MessagePresenter;
class SettingsStore;

// The settings dialog: whether a run overwrites the copies of earlier runs, whether the program
// starts hidden, and whether sound and animation are on. Modeless and owned by the main window;
// it reads "Einstellung.ini" as it opens, writes it only on Ok and goes when it closes.
class Form2 final : public QDialog {
    Q_OBJECT

public:
    Form2(QWidget* owner, SettingsStore& settings, MessagePresenter& messages);

private:
    void loadDialogSettings();
    void saveDialogSettings();

    SettingsStore& settings_;
    MessagePresenter& messages_;
    struct Controls {
        QPushButton* cb_1 = nullptr;
        QPushButton* cb_speichern = nullptr;
        QCheckBox* checkbox_kopie = nullptr;
        QLabel* label_kopie = nullptr;
        QCheckBox* checkbox_status = nullptr;
        QCheckBox* checkbox_sound_ani = nullptr;
    } ui_;
};

}  // namespace vaultrix
