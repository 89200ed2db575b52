#include "editor/SetEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>
#include <functional>

#include "common/TimeOfDay.h"
#include "common/WindowsNames.h"
#include "engine/CopyToFolder.h"
#include "engine/RunLog.h"
#include "engine/Scheduler.h"
#include "engine/ThreadSlots.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "platform/SystemNames.h"
#include "shell/ListOrder.h"
#include "shell/MessagePresenter.h"
#include "shell/Style.h"
#include "store/BackupSetStore.h"
#include "store/StorableText.h"

namespace vaultrix {
namespace {

constexpr const char* kNameTaken = "Eine Sicherung mit diesem Namen existiert bereits !";
constexpr const char* kWholeRoot =
    "Ein Laufwerk oder Wurzelordner kann nicht als Ganzes gesichert werden.\n\n"
    "Bitte wählen Sie die Ordner oder Dateien darin einzeln aus.";

// hh:mm as the masked field shows it. The field leaves unfilled places out of its text, so a
// half-filled time has fewer than four digits.
bool IsValidTime(const QString& text) {
    QString digits = text;
    digits.remove(QLatin1Char(':')).remove(QLatin1Char(' '));
    return isTimeOfDayDigits(digits.toStdString());
}

// Why the path cannot become a source or the destination; empty when it can.
QString pathRefusal(const QString& path) {
    const std::string reason = unstorableReason(path.toStdString());
    if (reason.empty()) return {};
    return QStringLiteral("Der Pfad\n\n%1\n\n%2 Bitte benennen Sie die Datei oder den Ordner um.")
        .arg(path, QString::fromStdString(reason));
}

// The first reason `problem` gives for a name on the path below its root; empty when none.
std::string namesProblem(const QString& path,
                         const std::function<std::string(std::string_view)>& problem) {
    std::string rest = fs::normalisePath(path.toStdString());
    for (std::string name = fs::lastName(rest); fs::isEntryName(name); name = fs::lastName(rest)) {
        if (std::string reason = problem(name); !reason.empty()) return reason;
        rest = fs::normalisePath(rest.substr(0, rest.size() - name.size()));
    }
    return {};
}

// Why the folder cannot be the destination; empty when it can. Its own name, which a run may
// create, is checked against Windows' rules on every system, as a stored set must work on the
// Windows PCs it is made for; the folders above it only where this system cannot hold the
// name (a Linux share's folder such as "smb-share:server=nas" is fine there).
QString destinationRefusal(const QString& path) {
    std::string reason = windowsNameProblem(fs::lastName(fs::normalisePath(path.toStdString())));
    if (reason.empty()) reason = namesProblem(path, fs::systemNameProblem);
    if (reason.empty()) return {};
    return QStringLiteral(
               "Der Zielordner\n\n%1\n\nkann so nicht angelegt werden: %2 Bitte wählen Sie einen "
               "anderen Ordner oder benennen Sie ihn um.")
        .arg(path, QString::fromStdString(reason));
}

// Why this system could not read the source by its name, or the copy not make it; empty when
// it can. A Linux folder may end in a dot; the copy reports what the destination cannot hold.
QString sourceNameRefusal(const QString& path) {
    const std::string reason = namesProblem(path, fs::systemNameProblem);
    if (reason.empty()) return {};
    return QStringLiteral("Der Pfad\n\n%1\n\n%2 Bitte benennen Sie die Datei oder den Ordner um.")
        .arg(path, QString::fromStdString(reason));
}

}  // namespace

SetEditor::SetEditor(const EditorControls& controls, EditorWindow& window,
                     const EditorServices& services)
    : ui_(controls),
      window_(window),
      services_(services),
      tree_(controls.tv_dir, services.slots, services.listings, services.volumeRoots),
      folderProbe_(services.isFolderPath, [this](std::uint64_t ticket, std::vector<bool> folder) {
          QMetaObject::invokeMethod(
              this,
              [this, ticket, isFolder = !folder.empty() && folder.front()] {
                  takeFolderAnswer(ticket, isFolder);
              },
              Qt::QueuedConnection);
      }) {
    ui_.lb_von->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The destination comes from the tree or from the create-folder dialog only.
    ui_.textb_nach->setReadOnly(true);
}

void SetEditor::BeginNewSet() {
    isNewSet = true;
    lastActionText = kActionNew;
    tree_.FillFolderTree();
    window_.leaveMainPage();
    clearEditor();
    window_.openEditorPage();
}

void SetEditor::BeginEditSet() {
    isNewSet = false;
    lastActionText = kActionEdited;
    tree_.FillFolderTree();
    window_.leaveMainPage();
    window_.openEditorPage();
    loadSetIntoEditor(window_.selectedSetName());
}

void SetEditor::OnTreeSelection(QTreeWidgetItem* current) {
    // Whether the entry is a folder is asked off the window thread, as a drive or share may take
    // long to answer: the destination picture stays off until the answer comes. An emptied tree
    // has nothing to add.
    window_.setTargetPicture(false);
    window_.setSourcePicture(current != nullptr);
    selectionTicket_ =
        current != nullptr ? folderProbe_.request({tree_.ItemPath(current).toStdString()}) : 0;
}

void SetEditor::takeFolderAnswer(std::uint64_t ticket, bool folder) {
    // An answer about an entry no longer selected is dropped.
    if (ticket != selectionTicket_) return;
    selectionTicket_ = 0;
    window_.setTargetPicture(folder);
}

void SetEditor::AddSource() {
    const QTreeWidgetItem* selected = ui_.tv_dir->currentItem();
    if (selected == nullptr) return;
    const QString path = tree_.ItemPath(selected);
    // The copy has no name to put a whole drive under; it would refuse it at every run.
    if (fs::isRootPath(path.toStdString())) {
        showError(QString::fromUtf8(kWholeRoot));
        return;
    }
    for (const QString& refusal : {pathRefusal(path), sourceNameRefusal(path)}) {
        if (!refusal.isEmpty()) {
            showError(refusal);
            return;
        }
    }
    if (!SameAsAnySource(path)) {
        // The list keeps its entries sorted, as the set list does.
        const ListOrder before;
        int row = 0;
        while (row < ui_.lb_von->count() && !before(path, ui_.lb_von->item(row)->text())) ++row;
        ui_.lb_von->insertItem(row, path);
        ui_.lb_von->setFocus();
    }
    UpdateSaveState();
}

void SetEditor::RemoveMarkedSources() {
    qDeleteAll(ui_.lb_von->selectedItems());
    UpdateSaveState();
    ui_.lb_von->setFocus();
}

void SetEditor::RemoveAllSources() {
    ui_.lb_von->clear();
    ui_.lb_von->setFocus();
    UpdateSaveState();
}

void SetEditor::TakeDestination() {
    const QTreeWidgetItem* selected = ui_.tv_dir->currentItem();
    if (selected == nullptr) return;
    const QString path = tree_.ItemPath(selected);
    for (const QString& refusal : {pathRefusal(path), destinationRefusal(path)}) {
        if (!refusal.isEmpty()) {
            showError(refusal);
            return;
        }
    }
    ui_.textb_nach->setText(path);
}

void SetEditor::UpdateSaveState() {
    const bool complete = IsSetComplete();
    ui_.cb_speichern->setEnabled(complete);
    window_.setSavePicture(complete);
}

bool SetEditor::IsSetComplete() const {
    return ui_.lb_von->count() > 0 && !ui_.textb_name_der_sicherung->text().isEmpty() &&
           !ui_.textb_nach->text().isEmpty() &&
           (!ui_.checkbox_aktiv->isChecked() || IsValidTime(ui_.mtextb_uhr->text()));
}

bool SetEditor::SameAsAnySource(const QString& path) const {
    const std::string text = path.toStdString();
    for (int row = 0; row < ui_.lb_von->count(); ++row) {
        if (fs::samePathText(ui_.lb_von->item(row)->text().toStdString(), text)) return true;
    }
    return false;
}

QString SetEditor::nameRefusal(const QString& name) const {
    const std::string text = name.toStdString();
    if (const Result<> checked = checkSetName(text); !checked) {
        return QString::fromStdString(checked.error().message);
    }
    const bool renamed = isNewSet || text != editedSetName;
    const std::vector<std::string> names = services_.sets.loadSetNames().names;
    if (renamed && std::ranges::find(names, text) != names.end()) {
        return QString::fromUtf8(kNameTaken);
    }
    return {};
}

void SetEditor::SaveSet() {
    if (SameAsAnySource(ui_.textb_nach->text())) {
        showError(QString::fromUtf8(kSameSourceAndDestination));
        return;
    }
    // A stored set's destination, or a new folder's, did not come through the tree.
    if (const QString refusal = destinationRefusal(ui_.textb_nach->text()); !refusal.isEmpty()) {
        showError(refusal);
        return;
    }
    if (const QString refusal = nameRefusal(ui_.textb_name_der_sicherung->text());
        !refusal.isEmpty()) {
        showError(refusal);
        return;
    }
    const BackupSet set = setFromEditor();
    services_.slots.PauseSlot(ThreadSlots::kBackupSlot);
    const Result<> saved = isNewSet ? services_.sets.saveNewSet(set)
                                    : services_.sets.saveEditedSet(editedSetName, set);
    if (!saved) {
        // Nothing was stored; the page keeps its fields.
        services_.slots.ResumeSlot(ThreadSlots::kBackupSlot);
        showError(QString::fromStdString(saved.error().message));
        return;
    }
    editedSetName = set.name;
    lastResultText = kResultOk;
    const Result<> logged = services_.log.AppendRecord(lastResultText, set.name, lastActionText);
    window_.loadSetNames();
    services_.scheduler.LoadScheduleTable(services_.sets);
    clearEditor();
    window_.leaveEditorPage();
    window_.openMainPage();
    services_.slots.ResumeSlot(ThreadSlots::kBackupSlot);
    if (!logged) showError(QString::fromStdString(logged.error().message));
}

void SetEditor::DiscardSet() {
    window_.leaveEditorPage();
    clearEditor();
    window_.openMainPage();
}

void SetEditor::DeleteSelectedSet() {
    const QString name = window_.selectedSetName();
    if (name.isEmpty()) return;
    const QMessageBox::StandardButton answer = services_.messages.show(
        window_.messageOwner(), QMessageBox::Warning, titled(QStringLiteral("Sicherung löschen?")),
        QStringLiteral("Möchten Sie die Sicherung \nmit dem Namen\n\n") + name +
            QStringLiteral("\n\nwirklich löschen?"),
        QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok) return;
    services_.slots.PauseSlot(ThreadSlots::kBackupSlot);
    lastActionText = kActionDeleted;
    lastResultText = "abgebrochen";
    if (const Result<> deleted = services_.sets.deleteStoredSet(name.toStdString()); !deleted) {
        services_.slots.ResumeSlot(ThreadSlots::kBackupSlot);
        showError(QString::fromStdString(deleted.error().message));
        return;
    }
    window_.loadSetNames();
    lastResultText = kResultOk;
    const Result<> logged =
        services_.log.AppendRecord(lastResultText, name.toStdString(), lastActionText);
    services_.scheduler.LoadScheduleTable(services_.sets);
    window_.showFirstSet();
    services_.slots.ResumeSlot(ThreadSlots::kBackupSlot);
    if (!logged) showError(QString::fromStdString(logged.error().message));
}

void SetEditor::clearEditor() {
    tree_.clear();
    ui_.textb_name_der_sicherung->clear();
    ui_.lb_von->clear();
    ui_.textb_nach->clear();
    ui_.combo_tag->setCurrentIndex(0);
    ui_.mtextb_uhr->clear();
}

void SetEditor::loadSetIntoEditor(const QString& name) {
    const BackupSet set = services_.sets.loadSet(name.toStdString());
    editedSetName = set.name;
    ui_.textb_name_der_sicherung->setText(name);
    for (const std::string& source : set.sources) {
        ui_.lb_von->addItem(QString::fromStdString(source));
    }
    ui_.textb_nach->setText(QString::fromStdString(set.destination));
    // The first day that begins with the stored text, whatever its case; none when none does.
    const QString day = QString::fromStdString(set.day);
    int match = -1;
    for (int i = 0; i < ui_.combo_tag->count() && match < 0; ++i) {
        if (ui_.combo_tag->itemText(i).startsWith(day, Qt::CaseInsensitive)) match = i;
    }
    ui_.combo_tag->setCurrentIndex(match);
    ui_.mtextb_uhr->setText(QString::fromStdString(set.time));
    ui_.checkbox_aktiv->setChecked(set.active);
}

BackupSet SetEditor::setFromEditor() const {
    BackupSet set;
    set.name = ui_.textb_name_der_sicherung->text().toStdString();
    for (int row = 0; row < ui_.lb_von->count(); ++row) {
        set.sources.push_back(ui_.lb_von->item(row)->text().toStdString());
    }
    set.destination = ui_.textb_nach->text().toStdString();
    set.day = ui_.combo_tag->currentText().toStdString();
    // As the field shows it, with the mask's colon: a half-typed time of a set that is not
    // active comes back as it was typed.
    set.time = ui_.mtextb_uhr->text().toStdString();
    set.active = ui_.checkbox_aktiv->isChecked();
    return set;
}

void SetEditor::showError(const QString& text) {
    services_.messages.show(window_.messageOwner(), QMessageBox::Warning,
                            titled(QStringLiteral("Fehler")), text, QMessageBox::Ok);
}

}  // namespace vaultrix
