#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

namespace vaultrix {

class MessagePresenter;
class SettingsStore;

// The create-folder dialog: asks for the name of a new folder below the destination that the
// folder popup left in "pfad=", makes the folder, and leaves its path in "pfad=" for the main
// window to take when it is activated again. Modeless; the main window stays usable.
class Form5 final : public QDialog {
    Q_OBJECT

public:
    Form5(SettingsStore& settings, MessagePresenter& messages, QWidget* owner);

    // Opens the dialog afresh below the folder in "pfad=": an empty name, Ok not yet offered.
    void openDialog();

private:
    void OnFolderNameChange();
    void CreateFolderFromDialog();

    struct Controls {
        QLineEdit* textb_nach = nullptr;
        QPushButton* cb_1 = nullptr;
        QPushButton* cb_ordner_erstellen = nullptr;
    };

    SettingsStore& settings_;
    MessagePresenter& messages_;
    Controls ui_;
    // Read as the dialog opens: an activation of the main window meanwhile empties "pfad=", and
    // the folder must still not land in the working folder.
    std::string parent_;
};

}  // namespace vaultrix
