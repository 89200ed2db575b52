#pragma once

#include <span>

class QWidget;

namespace vaultrix {

// The three pages of the main window.
enum class Page { MainMenuPage, EditorPage, LogPage };

// One step of a page change. A page change is a table of them, run in order.
struct PageStep {
    enum Kind {
        show,        // make the control visible
        hide,        // hide the control
        place,       // slideTo (x, y) with the move delay
        size,        // growTo x × y with the grow delay
        collapse,    // collapseAll
        openSound,   // the page-open sound
        closeSound,  // the page-close sound
        paint,       // paint what is pending
    };
    Kind kind;
    const char* control = nullptr;  // the control's object name
    int x = 0;                      // place: left; size: width
    int y = 0;                      // place: top; size: height
};

// The steps that shrink every page control to nothing, run without pauses.
std::span<const PageStep> collapseSteps();
// The steps that open a page and those that close it.
std::span<const PageStep> showSteps(Page page);
std::span<const PageStep> hideSteps(Page page);

// The page changes a page asks of the main window.
class PageChanges {
public:
    virtual void showPage(Page page) = 0;
    virtual void hidePage(Page page) = 0;

protected:
    ~PageChanges() = default;
};

// Moves the control to (x, y). With a delay above 0 it goes pixel by pixel, pausing that many
// milliseconds (cut to whole ones) after each step: right, then down, up and left as needed, so
// it passes x + 1 and y + 1 before it ends exactly at (x, y).
void slideTo(QWidget* control, int x, int y, double delay);

// Sizes the control to width × height. With a delay above 0 it grows or shrinks pixel by pixel
// in the order of slideTo, repainting it every tenth step and pausing after each, so a control
// that grows is briefly one pixel larger than its target before it settles.
void growTo(QWidget* control, int width, int height, double delay);

}  // namespace vaultrix
