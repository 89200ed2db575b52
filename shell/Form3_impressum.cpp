#include "shell/Form3_impressum.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStringList>

#include "shell/HandCursor.h"
#include "shell/Maker.h"
#include "shell/PictureBox.h"
#include "shell/SecondaryWindow.h"
#include "shell/WebShortcut.h"

namespace vaultrix {

Form3_impressum::Form3_impressum(QWidget* owner, QString folder)
    : QDialog(owner), folder_(std::move(folder)) {
    setUpSecondaryWindow(this, "Form3_impressum", QStringLiteral("Impressum"));
    const DialogUnits units(dialogTemplateFont());
    setFixedSize(units.rect(0, 0, 227, 121).size());

    pictb_1 = new QLabel(this);
    pictb_1->setObjectName(QStringLiteral("pictb_1"));
    pictb_1->setGeometry(units.rect(105, 5, 116, 52));
    pictb_1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pictb_1->setPixmap(bitmapResource(142));

    auto* maker = new QLabel(this);
    maker->setObjectName(QStringLiteral("label_1"));
    maker->setGeometry(units.rect(5, 5, 95, 95));
    maker->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    maker->setText(QStringList{QStringLiteral("Vaultrix 1.0"), QString(),
                               QString::fromUtf8(kMakerName), QString::fromUtf8(kMakerContact),
                               QString::fromUtf8(kMakerStreet), QString::fromUtf8(kMakerCity),
                               QString(), QString::fromUtf8(kMakerTaxNumber),
                               QString::fromUtf8(kMakerTaxOffice)}
                       .join(QLatin1Char('\n')));

    label_3 = new QLabel(QString::fromUtf8(kMakerWebAddress), this);
    label_3->setObjectName(QStringLiteral("label_3"));
    label_3->setGeometry(units.rect(5, 109, 105, 9));
    QFont underlined = label_3->font();
    underlined.setUnderline(true);
    label_3->setFont(underlined);
    QPalette blue = label_3->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label_3->setPalette(blue);

    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("cb_schliessen"));
    close->setGeometry(units.rect(170, 100, 50, 18));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    for (QWidget* pointing : {static_cast<QWidget*>(pictb_1), static_cast<QWidget*>(label_3),
                              static_cast<QWidget*>(close)}) {
        pointing->setCursor(handCursor());
    }
    pictb_1->installEventFilter(this);
    label_3->installEventFilter(this);
    placeOwnedWindow(this, owner, units.point(504, 217));
}

bool Form3_impressum::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == pictb_1 || watched == label_3) && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        openMakerWebPage(folder_);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace vaultrix
