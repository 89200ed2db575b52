#pragma once

#include <QLabel>
#include <functional>

namespace vaultrix {

// The three bitmaps of a picture button, as numbers of the program's bitmap resources.
struct PictureBitmaps {
    int normal = 0;
    int pressed = 0;
    int inactive = 0;  // 0: the picture is never inactive
};

// When the normal bitmap comes back at a release, relative to the command. In the first two
// orders the pressed bitmap stays while the command runs; they differ only in when the mouse
// capture ends, which Qt ends itself with the release.
enum class ReleaseOrder { commandFirst = 1, captureFirst = 2, restoreFirst = 3 };

// A picture that behaves like a button: the pressed bitmap while the left button is held, the
// command when the button is released inside the picture (edges included), and an inactive
// bitmap while its state flag is set, in which state it runs nothing.
class PictureBox : public QLabel {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setBitmaps(const PictureBitmaps& bitmaps);
    // The flag that makes the picture inactive while true; null for a picture without one.
    void setStateFlag(const bool* inactive) { inactive_ = inactive; }
    void setCommand(std::function<void()> command) { command_ = std::move(command); }
    void setReleaseOrder(ReleaseOrder order) { order_ = order; }
    // Runs after every release of an active picture, whether or not the command ran.
    void setFollowUp(std::function<void()> followUp) { followUp_ = std::move(followUp); }
    // The inactive picture stays silent when pressed (the save picture).
    void setSilentWhileInactive(bool silent) { silentWhileInactive_ = silent; }

    bool isInactive() const { return inactive_ != nullptr && *inactive_; }
    // Shows the inactive bitmap while the flag is set, else the normal one.
    void showStateBitmap();
    // The number of the bitmap on show; 0 before the first.
    int bitmapNumber() const { return shown_; }

Q_SIGNALS:
    // The left button went down on the picture (the click sound).
    void clickSoundDue();
    // The mouse moves over an active picture (the hover sound).
    void hoverSoundDue();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void showBitmap(int number);

    PictureBitmaps bitmaps_;
    const bool* inactive_ = nullptr;
    std::function<void()> command_;
    std::function<void()> followUp_;
    ReleaseOrder order_ = ReleaseOrder::commandFirst;
    bool silentWhileInactive_ = false;
    int shown_ = 0;
};

// The bitmap resource with this number.
QPixmap bitmapResource(int number);

}  // namespace vaultrix
