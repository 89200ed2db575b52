#include "shell/MessagePresenter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "app/FakePresenter.h"

namespace vaultrix {
namespace {

TEST(QtMessagePresenter, ShowsNamesAndPathsAsPlainTextWithTheirBlankLines) {
    const QString text = QStringLiteral("Pfad: /daten/<i>x</i>\n\nSicherungsname: a&b");
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        format = box->textFormat();
        box->done(QMessageBox::Ok);
    });
    QtMessagePresenter presenter;
    presenter.show(nullptr, QMessageBox::Warning, QStringLiteral("Vaultrix 1.0 - Fehler"), text,
                   QMessageBox::Ok);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, text);
}

TEST(QtMessagePresenter, AQuestionsButtonsReadOkAndAbbrechen) {
    QStringList texts;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        texts << box->button(QMessageBox::Ok)->text() << box->button(QMessageBox::Cancel)->text();
        box->done(QMessageBox::Cancel);
    });
    QtMessagePresenter presenter;
    const auto answer = presenter.show(
        nullptr, QMessageBox::Warning, QStringLiteral("Vaultrix 1.0 - Log Datei löschen?"),
        QStringLiteral("Möchten Sie die Log Datei\nwirklich löschen?"),
        QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(texts, (QStringList{QStringLiteral("OK"), QStringLiteral("Abbrechen")}));
    EXPECT_EQ(answer, QMessageBox::Cancel);
}

// Owned by the window while it is visible and enabled: a hidden or disabled owner would hide or
// block its box.
TEST(WindowMessages, AreOwnedByTheWindowOnlyWhileItIsVisibleAndEnabled) {
    test::FakePresenter presenter;
    QWidget window;
    const WindowMessages messages(presenter, window);
    messages.showError(QStringLiteral("a"));
    window.show();
    messages.showInformation(QStringLiteral("b"));
    window.setEnabled(false);
    presenter.answers = {QMessageBox::Cancel};
    EXPECT_FALSE(messages.confirm(QStringLiteral("Frage?"), QStringLiteral("c")));
    EXPECT_TRUE(messages.confirm(QStringLiteral("Frage?"), QStringLiteral("d")));
    ASSERT_EQ(presenter.shown.size(), 4u);
    EXPECT_EQ(presenter.shown[0].owner, nullptr);
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Fehler"));
    EXPECT_EQ(presenter.shown[0].icon, QMessageBox::Warning);
    EXPECT_EQ(presenter.shown[1].owner, &window);
    EXPECT_EQ(presenter.shown[1].title, QStringLiteral("Vaultrix 1.0 - Information"));
    EXPECT_EQ(presenter.shown[1].icon, QMessageBox::Information);
    EXPECT_EQ(presenter.shown[2].owner, nullptr);
    EXPECT_EQ(presenter.shown[2].title, QStringLiteral("Vaultrix 1.0 - Frage?"));
    EXPECT_EQ(presenter.shown[2].buttons, QMessageBox::Ok | QMessageBox::Cancel);
}

}  // namespace
}  // namespace vaultrix
