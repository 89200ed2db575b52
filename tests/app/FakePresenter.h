#pragma once

#include <QMessageBox>
#include <QString>
#include <vector>

#include "shell/MessagePresenter.h"

namespace vaultrix::test {

// Answers message boxes without showing them: it records each one and returns the next
// answer the test gave (OK when none is left).
class FakePresenter final : public MessagePresenter {
public:
    struct Shown {
        QWidget* owner;
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    QMessageBox::StandardButton show(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                                     const QString& text,
                                     QMessageBox::StandardButtons buttons) override {
        shown.push_back({owner, icon, title, text, buttons});
        if (answers.empty()) return QMessageBox::Ok;
        const QMessageBox::StandardButton answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }

    std::vector<QMessageBox::StandardButton> answers;
    std::vector<Shown> shown;
};

}  // namespace vaultrix::test
