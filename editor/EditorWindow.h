#pragma once

#include <QString>

class QWidget;

namespace vaultrix {

// What the editor asks of the main window: its pages, its pictures and its list of sets.
class EditorWindow {
public:
    virtual ~EditorWindow() = default;
    virtual void leaveMainPage() = 0;   // closes the main page
    virtual void openEditorPage() = 0;  // shows the editor page, its save picture inactive
    virtual void leaveEditorPage() = 0;
    virtual void openMainPage() = 0;  // focuses the set list and shows the main page
    // The selected set, whose details the main page shows; empty when none is.
    virtual QString selectedSetName() const = 0;
    // Refills the set list from the store and selects its first entry.
    virtual void loadSetNames() = 0;
    // Shows the set list's first entry with its details, the list focused.
    virtual void showFirstSet() = 0;
    virtual void setSourcePicture(bool on) = 0;
    virtual void setTargetPicture(bool on) = 0;
    virtual void setSavePicture(bool on) = 0;
    // The owner of a message box: the window while it is visible and enabled, else none.
    virtual QWidget* messageOwner() = 0;
};

}  // namespace vaultrix
