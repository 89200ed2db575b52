#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>
#include <span>

#include "app/Menus.h"
#include "app/Pages.h"
#include "app/WindowLayout.h"
#include "editor/EditorWindow.h"
#include "shell/MessagePresenter.h"

namespace vaultrix {

class AppServices;
class Form2;
class Form3_impressum;
class Form4_hilfe;
class Form5;
class LogPage;
class MainMenuPage;
class ProgressWindow;
class SetEditor;
class WSysTray;
struct PictureBitmaps;
enum class ReleaseOrder;

// The main window. Its controls sit at absolute positions in the client area (WindowLayout);
// the three pages are groups of them that the page operations show, move and grow. The main
// page, the editor page and the log page do their work in classes of their own, each with the
// controls it works with; the window keeps the menus, the routing of every event to its
// handler, the page changes, the picture states and sounds, and the secondary windows. Other
// code reaches the window through its controls and menu commands, never through its members.
class Form1 final : public QMainWindow, private EditorWindow, private PageChanges {
    Q_OBJECT

public:
    // Builds the window hidden, with every control, menu and binding, over the program's core
    // objects, which must outlive it.
    explicit Form1(AppServices& app);
    ~Form1() override;

    // The create handler: brings the program up. False when the work area is too narrow; the
    // process then ends with exit code 1 before anything was started.
    bool create();

Q_SIGNALS:
    // The window was closed and its threads stopped: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The routing table (Form1Routing.cpp): every (source, event, handler) row, by source.
    void bindEvents();
    void bindPicture(PictureBox* picture, const PictureBitmaps& bitmaps, const bool* state,
                     ReleaseOrder order, std::function<void()> command);

    // Page changes (Form1Pages.cpp): the tables of Pages.h run by one loop.
    void runSteps(std::span<const PageStep> steps, double move, double grow);
    void collapseAll();
    void showPage(Page page) override;
    void hidePage(Page page) override;
    void applyAnimationSetting();
    void paintPending();

    // Picture states.
    void setCommandPictures();
    void setTargetPicture(bool on) override;
    void setSavePicture(bool on) override;
    void setSourcePicture(bool on) override;

    // Sounds, played only while sound and animation are on.
    void playPageOpenSound();
    void playPageCloseSound();
    void playClickSound();
    void playHoverSound();
    void resetHoverSound() { hoverSoundPlayed = 0; }

    // What the editor asks of the window.
    void leaveMainPage() override;
    void openEditorPage() override;
    void leaveEditorPage() override;
    void openMainPage() override;
    QString selectedSetName() const override;
    void loadSetNames() override;
    void showFirstSet() override;
    QWidget* messageOwner() override { return messages_.owner(); }

    // The destination's folder hand-over to the create-folder dialog, and back.
    void handOverPath();
    void takePendingPath();

    // The secondary windows, each brought to the front when it is open already, and the web
    // shortcut to the tutorial.
    void openSettings();
    void openHelp();
    void openAbout();
    void openTutorialPage();
    QString workingFolder() const;

    // Places the window so that, frame included, it covers `frame`, at a fixed size. The
    // frame's thickness is known once the window system has framed the window, so the client
    // area is fitted again whenever the window is exposed or moved.
    void placeWindow(const QRect& frame);
    void fitToFrame();

    AppServices& app_;
    WindowControls ui_;
    WindowPopups popups_;
    WindowMessages messages_;
    std::unique_ptr<MainMenuPage> mainPage_;
    std::unique_ptr<LogPage> logPage_;
    std::unique_ptr<SetEditor> editor_;
    Form5* form5_ = nullptr;  // the create-folder dialog

    // Picture states: true is inactive.
    bool sourceState = false;
    bool targetState = false;
    bool saveState = false;
    bool commandState = false;

    bool pendingPathHandOver = false;
    bool soundAnimationOn = false;
    double moveStepDelay = 0.0;
    double growStepDelay = 0.0;
    int hoverSoundPlayed = 0;

    QRect placedFrame_;
    std::unique_ptr<WSysTray> tray_;  // from the create handler until the window closes
    QPointer<Form2> settingsDialog_;
    QPointer<Form4_hilfe> helpWindow_;
    QPointer<Form3_impressum> aboutWindow_;
    ProgressWindow* scheduledRun_;  // the progress window of the backup thread's runs
};

}  // namespace vaultrix
