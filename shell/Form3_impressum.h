#pragma once

#include <QDialog>
#include <QString>

class QLabel;

namespace vaultrix {

// The about window: the program's name, its maker's data, the logo and the web address; a
// press on the logo or on the address opens the maker's web page. Modeless and owned by the
// main window; it goes when it closes.
class Form3_impressum final : public QDialog {
    Q_OBJECT

public:
    // `folder`: the working folder, where the web shortcut is written.
    Form3_impressum(QWidget* owner, QString folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString folder_;
    QLabel* pictb_1 = nullptr;
    QLabel* label_3 = nullptr;
};

}  // namespace vaultrix
