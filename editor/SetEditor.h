#pragma once

#include <QObject>
#include <QString>
#include <string>

#include "editor/EditorWindow.h"
#include "editor/FolderTree.h"
#include "engine/PathProbe.h"
#include "store/BackupSet.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace vaultrix {

class BackupSetStore;
class MessagePresenter;
class RunLog;
class Scheduler;
class ThreadSlots;

// The main window's controls of the editor page.
struct EditorControls {
    QTreeWidget* tv_dir;
    QLineEdit* textb_name_der_sicherung;
    QListWidget* lb_von;
    QLineEdit* textb_nach;
    QComboBox* combo_tag;
    QLineEdit* mtextb_uhr;
    QCheckBox* checkbox_aktiv;
    QPushButton* cb_speichern;
};

// The core objects the editor works with.
struct EditorServices {
    BackupSetStore& sets;
    RunLog& log;
    Scheduler& scheduler;
    ThreadSlots& slots;
    TreeSink& listings;  // carries the tree thread's listings to the window thread
    MessagePresenter& messages;
    TreeListing::Roots volumeRoots;  // the tops of the folder tree
    PathTest isFolderPath;           // whether a tree entry can be the destination
};

// The editor page: a new set or a stored one is put together from the folder tree and saved,
// or a stored set is deleted. Paths that cannot be stored (characters Windows-1252 lacks,
// control characters) are refused where they enter, and so is a whole drive or root folder as
// a source. Saving and deleting keep the backup thread paused while the set files are written
// and the schedule is rebuilt.
class SetEditor final : public QObject {
    Q_OBJECT

public:
    SetEditor(const EditorControls& controls, EditorWindow& window, const EditorServices& services);

    FolderTree& tree() { return tree_; }

    void BeginNewSet();
    void BeginEditSet();
    void OnTreeSelection(QTreeWidgetItem* current);
    void AddSource();
    void RemoveMarkedSources();
    void RemoveAllSources();
    void TakeDestination();
    void UpdateSaveState();
    void SaveSet();
    void DiscardSet();
    void DeleteSelectedSet();
    void clearEditor();

private:
    void loadSetIntoEditor(const QString& name);
    BackupSet setFromEditor() const;
    bool IsSetComplete() const;
    bool SameAsAnySource(const QString& path) const;
    // The message for a name that cannot be saved; empty when it can.
    QString nameRefusal(const QString& name) const;
    void showError(const QString& text);
    // The answer whether the selected tree entry is a folder.
    void takeFolderAnswer(std::uint64_t ticket, bool folder);

    EditorControls ui_;
    EditorWindow& window_;
    EditorServices services_;
    FolderTree tree_;

    bool isNewSet = true;
    std::string editedSetName;
    std::string lastActionText;
    std::string lastResultText;
    std::uint64_t selectionTicket_ = 0;  // the answer wanted about the selection; 0 when none
    PathProbe folderProbe_;              // last: it answers no more once it is gone
};

}  // namespace vaultrix
