#include "shell/PictureBox.h"

#include <QMouseEvent>
#include <QPixmap>

namespace vaultrix {

QPixmap bitmapResource(int number) {
    return QPixmap(QStringLiteral(":/bitmaps/%1.png").arg(number));
}

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    // The bitmap keeps its own size and is cut at the picture's edges while the picture grows.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMouseTracking(true);
}

void PictureBox::setBitmaps(const PictureBitmaps& bitmaps) {
    bitmaps_ = bitmaps;
    showStateBitmap();
}

void PictureBox::showStateBitmap() {
    showBitmap(isInactive() ? bitmaps_.inactive : bitmaps_.normal);
}

void PictureBox::showBitmap(int number) {
    if (number == shown_) return;
    shown_ = number;
    setPixmap(bitmapResource(number));
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QLabel::mousePressEvent(event);
    if (!(silentWhileInactive_ && isInactive())) Q_EMIT clickSoundDue();
    if (isInactive()) return;
    showBitmap(bitmaps_.pressed);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QLabel::mouseReleaseEvent(event);
    if (isInactive()) return;
    const QPointF at = event->position();
    const bool inside = at.x() >= 0 && at.x() <= width() && at.y() >= 0 && at.y() <= height();
    if (order_ == ReleaseOrder::restoreFirst) showBitmap(bitmaps_.normal);
    if (inside && command_) command_();
    if (order_ != ReleaseOrder::restoreFirst) showBitmap(bitmaps_.normal);
    if (followUp_) followUp_();
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    // Taken here, so the move does not reach the background, which would allow the next sound.
    event->accept();
    if (!isInactive()) Q_EMIT hoverSoundDue();
}

}  // namespace vaultrix
