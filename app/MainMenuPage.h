#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/PathProbe.h"

class QListWidget;
class QTextEdit;
class QWidget;

namespace vaultrix {

class BackupRunner;
class BackupSetStore;
class ProgressWindow;
class WindowMessages;

// The main page's controls: the list of the stored sets and the details of the one picked.
struct MainMenuPageControls {
    QListWidget* lb_anzeige;
    QTextEdit* rtb_anzeige;
};

// What the main page works with.
struct MainMenuPageServices {
    const BackupSetStore& sets;
    BackupRunner& runner;  // runs the shown set when the user starts it
    PathTest pathExists;   // the test of the details' paths, which may hang on a share
    // Carries an answer of the path test to the window thread, where it comes back through
    // takeDetailsAnswer.
    PathProbe::Answer deliverDetails;
};

// The main page: the stored sets by name, the details of the one picked with a warning about
// its paths that cannot be reached, and the run of that set by hand. The page's commands act on
// the set whose details are shown.
class MainMenuPage final : public QObject {
    Q_OBJECT

public:
    // `window` is the main window: the parent of a run's progress window.
    MainMenuPage(const MainMenuPageControls& controls, QWidget& window,
                 const WindowMessages& messages, const MainMenuPageServices& services);

    // Refills the list from the store, sorted, selects its first entry and counts the sets.
    void loadSetNames();
    bool hasSets() const { return setCounter > 0; }
    void ShowSetDetails(const QString& name);
    void ShowSelectedSetDetails();
    // The answer about the shown set's paths: the warning about those that cannot be reached.
    void takeDetailsAnswer(quint64 ticket, const std::vector<bool>& reachable);
    void StartSelectedSet();
    // The set whose details are shown, which the commands act on; empty when none is.
    QString selectedSetName() const { return shownSetName_; }
    // Shows the list's first entry with its details, the list focused.
    void showFirstSet();
    // The details went off the screen: the warning about their paths is not wanted any more.
    void forgetDetails() { detailsTicket_ = 0; }
    // The window closes: a run by hand is asked to stop, and nothing more is shown.
    void closeDown();

protected:
    // The list's mouse buttons and keys (bound by the window's routing).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainMenuPageControls ui_;
    QWidget& window_;
    const WindowMessages& messages_;
    const BackupSetStore& sets_;
    BackupRunner& runner_;

    // The number of names listed, so a count in the file that disagrees with its names never
    // offers commands for sets that are not there.
    int setCounter = 0;
    QString shownSetName_;  // the set whose details rtb_anzeige shows; empty when none
    ProgressWindow* manualRun_ = nullptr;  // the progress window of a run started by hand
    bool closing_ = false;
    // The paths of the shown set's details, tested off the window thread; the ticket of the
    // answer wanted, 0 when none is.
    std::vector<std::string> detailPaths_;
    std::uint64_t detailsTicket_ = 0;
    PathProbe detailsProbe_;  // last: it answers no more once it is gone
};

}  // namespace vaultrix
