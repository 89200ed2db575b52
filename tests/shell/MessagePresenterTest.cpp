#include "shell/MessagePresenter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

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

}  // namespace
}  // namespace vaultrix
