#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

namespace vaultrix {

// The template font of the secondary windows, "8.MS Sans Serif": their sizes and places are
// given in its dialog units.
QFont dialogTemplateFont();
// The font of the secondary windows' controls, "8.Arial".
QFont dialogControlFont();

// Dialog units in pixels for a window laid out in `font`: a horizontal unit is a quarter of the
// font's average character width, a vertical one an eighth of its height, so a window keeps its
// proportions to its texts with whatever font the system puts in its place.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    QPoint point(int x, int y) const;
    QRect rect(int x, int y, int width, int height) const;

private:
    int baseX_;
    int baseY_;
};

// What the settings, help and about windows share: the object name, the caption
// "Vaultrix 1.0 - " and the role, icon 100, the light yellow background and the controls' font.
// The window goes when it closes.
void setUpSecondaryWindow(QWidget* window, const char* name, const QString& role);

// Places a window that `owner` owns at `position`, in pixels from the owner's top left corner,
// moved as little as needed to lie wholly on the owner's screen.
void placeOwnedWindow(QWidget* window, const QWidget* owner, const QPoint& position);

}  // namespace vaultrix
