#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>
#include <span>

#include "editor/EditorWindow.h"
#include "engine/PathProbe.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTextEdit;
class QTreeWidget;

namespace vaultrix {

class AppServices;
class Form2;
class Form3_impressum;
class Form4_hilfe;
class Form5;
class ProgressWindow;
class SetEditor;
class PictureBox;
class WSysTray;
struct PictureBitmaps;
enum class ReleaseOrder;
enum class Page;
struct PageStep;

// The command numbers of the menu items, kept in each item's data. The three menus number their
// items each on their own, so a number tells an item only together with its menu.

// The menu bar.
inline constexpr int kCommandIntroduction = 1001;  // "Einleitung": the tutorial's start page
inline constexpr int kCommandQuit = 1003;          // "Beenden": closes the main window
inline constexpr int kCommandSettings = 1004;      // "Einstellung": the settings dialog
inline constexpr int kCommandTutorial = 1006;      // "Tutorial": the same page as "Einleitung"
inline constexpr int kCommandHelp = 1007;          // "Hilfe": the help window
inline constexpr int kCommandAbout = 1009;         // "Impressum": the about window

// The tray popup ID_Form1_popup.
inline constexpr int kTrayCommandShow = 10000;      // "Anzeigen": shows the main window
inline constexpr int kTrayCommandSettings = 10001;  // "Einstellung": the settings dialog
inline constexpr int kTrayCommandMinimise = 10002;  // "Minimieren": hides the main window
inline constexpr int kTrayCommandQuit = 10004;      // "Beenden": closes the main window

// The destination field's popup ID_Form1_popup_ordner.
inline constexpr int kFolderCommandCreateFolder = 10000;  // "Ordner erstellen"

// The item with this command number in a menu bar or menu, sub-menus included; null if none.
QAction* findCommand(const QWidget* menu, int command);

// The main window. Its controls sit at absolute positions in the client area; the three pages
// are groups of them that the page operations show, move and grow. Every control carries its
// layout name as its object name; other code reaches the window through its controls and menu
// commands, never through its members.
class Form1 final : public QMainWindow, private EditorWindow {
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
    // The controls, named as in the window's layout, and the menus.
    struct Controls {
        QTreeWidget* tv_dir = nullptr;
        QListWidget* lb_von = nullptr;
        QPushButton* cb_speichern = nullptr;
        QComboBox* combo_tag = nullptr;
        QLineEdit* mtextb_uhr = nullptr;
        QLabel* label_wann = nullptr;
        QLabel* label_nach = nullptr;
        QLabel* label_von = nullptr;
        QLabel* label_name_der_sicherung = nullptr;
        QLabel* label_pfad_waehlen = nullptr;
        QPushButton* cb_starten = nullptr;
        QPushButton* cb_verwerfen = nullptr;
        QPushButton* cb_bearbeiten = nullptr;
        QPushButton* cb_anlegen = nullptr;
        QLineEdit* textb_name_der_sicherung = nullptr;
        QPushButton* cb_lade_pfad_von = nullptr;
        QPushButton* cb_loesche_pfad_von = nullptr;
        QPushButton* cb_lade_pfad_nach = nullptr;
        QPushButton* cb_loesche_alles_von = nullptr;
        QLineEdit* textb_nach = nullptr;
        QTextEdit* rtb_anzeige = nullptr;
        QListWidget* lb_anzeige = nullptr;
        QLabel* label_inhalt = nullptr;
        QLabel* label_sicherung = nullptr;
        QPushButton* cb_loeschen = nullptr;
        QPushButton* cb_beenden = nullptr;
        QLabel* label_zeit = nullptr;
        QPushButton* cb_log_anzeigen = nullptr;
        QPushButton* cb_log_loeschen = nullptr;
        QPushButton* cb_log_schliessen = nullptr;
        QPushButton* cb_tv_aktuell = nullptr;
        QLabel* label_log = nullptr;
        QLineEdit* textb_dummy = nullptr;
        QCheckBox* checkbox_aktiv = nullptr;
        QLabel* label_aktiv = nullptr;
        QLabel* label_datum_zeit = nullptr;
        QLabel* anim_1 = nullptr;
        QLabel* label_1 = nullptr;
        QPushButton* cb_1 = nullptr;
        QPushButton* cb_2 = nullptr;
        PictureBox* pictb_quelle = nullptr;
        PictureBox* pictb_ziel = nullptr;
        PictureBox* pictb_quelle_loeschen = nullptr;
        PictureBox* pictb_quelle_aloeschen = nullptr;
        PictureBox* pictb_sicherung_speichern = nullptr;
        PictureBox* pictb_sicherung_verwerfen = nullptr;
        PictureBox* pictb_tv_aktuell = nullptr;
        PictureBox* pictb_anlegen = nullptr;
        PictureBox* pictb_bearbeiten = nullptr;
        PictureBox* pictb_loeschen = nullptr;
        PictureBox* pictb_starten = nullptr;
        PictureBox* pictb_log_anzeigen = nullptr;
        PictureBox* pictb_beenden = nullptr;
        PictureBox* pictb_log_loeschen = nullptr;
        PictureBox* pictb_log_schliessen = nullptr;
        PictureBox* pictb_logo4 = nullptr;
        // The tray popup (its "Anzeigen" and "Beenden" belong to the tray icon) and the popup of
        // the destination field.
        QMenu* popup = nullptr;
        QMenu* popup_ordner = nullptr;
    };

    // Building (Form1Controls.cpp).
    void buildControls();
    void buildMenus();

    // Routing (Form1Routing.cpp): one function per source group.
    void bindFormEvents();
    void bindMenuCommands();
    void bindControls();
    void bindPictureButtons();
    void bindThreadReports();
    void bindPicture(PictureBox* picture, const PictureBitmaps& bitmaps, const bool* state,
                     ReleaseOrder order, std::function<void()> command);

    // Pages (Form1Pages.cpp).
    void runSteps(std::span<const PageStep> steps, double move, double grow);
    void collapseAll();
    void showPage(Page page);
    void hidePage(Page page);
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

    // The main page (Form1Commands.cpp).
    void loadSetNames() override;
    void ShowSetDetails(const QString& name);
    void ShowSelectedSetDetails();
    // The answer about the shown set's paths: the warning about those that cannot be reached.
    void takeDetailsAnswer(quint64 ticket, const std::vector<bool>& reachable);
    void StartSelectedSet();

    // The log page.
    void ShowLog();
    void LoadLogText();
    void DeleteLog();
    void CloseLog();

    // What the editor asks of the window, and the destination's folder hand-over.
    void leaveMainPage() override;
    void openEditorPage() override;
    void leaveEditorPage() override;
    void openMainPage() override;
    // The set whose details the main page shows: the one the commands act on.
    QString selectedSetName() const override;
    void showFirstSet() override;
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
    void showError(const QString& text);
    QWidget* messageOwner() override;

    AppServices& app_;
    Controls ui_;
    std::unique_ptr<SetEditor> editor_;
    Form5* form5_ = nullptr;  // the create-folder dialog

    // Picture states: true is inactive.
    bool sourceState = false;
    bool targetState = false;
    bool saveState = false;
    bool commandState = false;

    QString shownSetName_;  // the set whose details rtb_anzeige shows; empty when none
    int setCounter = 0;
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
    ProgressWindow* manualRun_ = nullptr;  // the progress window of a run started by hand
    ProgressWindow* scheduledRun_;         // the progress window of the backup thread's runs
    bool closing_ = false;
    // The paths of the shown set's details, tested off the window thread; the ticket of the
    // answer wanted, 0 when none is.
    std::vector<std::string> detailPaths_;
    std::uint64_t detailsTicket_ = 0;
    PathProbe detailsProbe_;  // last: it answers no more once it is gone
};

}  // namespace vaultrix
