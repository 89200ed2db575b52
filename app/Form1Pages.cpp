// The page changes of the main window, each a table of steps (Pages.h) run in order by one loop,
// the picture states, and the page changes the editor asks for.
#include <QCoreApplication>
#include <QListWidget>
#include <span>

#include "app/AppServices.h"
#include "app/Form1.h"
#include "app/MainMenuPage.h"
#include "shell/PictureBox.h"

namespace vaultrix {

void Form1::applyAnimationSetting() {
    soundAnimationOn = app_.settings().soundAnimationOn();
    moveStepDelay = 0.0;
    growStepDelay = soundAnimationOn ? 0.5 : 0.0;
}

void Form1::runSteps(std::span<const PageStep> steps, double move, double grow) {
    for (const PageStep& step : steps) {
        QWidget* control = step.control == nullptr
                               ? nullptr
                               : centralWidget()->findChild<QWidget*>(
                                     QString::fromLatin1(step.control), Qt::FindDirectChildrenOnly);
        switch (step.kind) {
            case PageStep::show:
                control->show();
                break;
            case PageStep::hide:
                control->hide();
                break;
            case PageStep::place:
                slideTo(control, step.x, step.y, move);
                break;
            case PageStep::size:
                growTo(control, step.x, step.y, grow);
                break;
            case PageStep::collapse:
                collapseAll();
                break;
            case PageStep::openSound:
                playPageOpenSound();
                break;
            case PageStep::closeSound:
                playPageCloseSound();
                break;
            case PageStep::paint:
                paintPending();
                break;
        }
    }
}

void Form1::collapseAll() {
    runSteps(collapseSteps(), 0.0, 0.0);
}

void Form1::showPage(Page page) {
    runSteps(showSteps(page), moveStepDelay, growStepDelay);
    if (page == Page::MainMenuPage) {
        setCommandPictures();
        mainPage_->ShowSelectedSetDetails();
    } else if (page == Page::EditorPage) {
        setSavePicture(false);
    }
    paintPending();
}

void Form1::hidePage(Page page) {
    // The warning about the shown set's paths is not wanted once the set is off the screen.
    if (page == Page::MainMenuPage) mainPage_->forgetDetails();
    runSteps(hideSteps(page), moveStepDelay, growStepDelay);
}

void Form1::paintPending() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

void Form1::setCommandPictures() {
    commandState = !mainPage_->hasSets();
    for (PictureBox* picture : {ui_.pictb_bearbeiten, ui_.pictb_loeschen, ui_.pictb_starten}) {
        picture->showStateBitmap();
    }
}

void Form1::setTargetPicture(bool on) {
    targetState = !on;
    ui_.pictb_ziel->showStateBitmap();
}

void Form1::setSavePicture(bool on) {
    saveState = !on;
    ui_.pictb_sicherung_speichern->showStateBitmap();
}

void Form1::setSourcePicture(bool on) {
    sourceState = !on;
    ui_.pictb_quelle->showStateBitmap();
}

void Form1::leaveMainPage() {
    hidePage(Page::MainMenuPage);
}

void Form1::openEditorPage() {
    showPage(Page::EditorPage);
}

void Form1::leaveEditorPage() {
    hidePage(Page::EditorPage);
}

void Form1::openMainPage() {
    ui_.lb_anzeige->setFocus();
    // The main page shows the selected set's details as it opens.
    showPage(Page::MainMenuPage);
}

QString Form1::selectedSetName() const {
    return mainPage_->selectedSetName();
}

void Form1::loadSetNames() {
    mainPage_->loadSetNames();
}

void Form1::showFirstSet() {
    mainPage_->showFirstSet();
}

}  // namespace vaultrix
