#pragma once

#include <QDialog>

namespace vaultrix {

// The help window: a short German manual as plain text and "Schließen". Modeless and owned by
// the main window; it goes when it closes.
class Form4_hilfe final : public QDialog {
    Q_OBJECT

public:
    explicit Form4_hilfe(QWidget* owner);
};

}  // namespace vaultrix
