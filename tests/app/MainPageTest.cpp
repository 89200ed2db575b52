#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QScrollBar>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <thread>

#include "FormFixture.h"
#include "platform/PathExists.h"
#include "shell/PictureBox.h"
#include "shell/ProgressWindow.h"
#include "support/FakeCopy.h"
#include "support/Gate.h"

namespace vaultrix::test {
namespace {

QStringList listed(const QListWidget* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
}

TEST_F(FormTest, TheSetListIsSortedWithoutRegardToCaseAndShowsTheClickedSet) {
    // Names equal but for case keep their stored order.
    for (const char* name : {"beta", "Gamma", "Äpfel", "ALPHA", "Alpha"}) {
        storeSet(name, {folder("quelle")}, folder("ziel"));
    }
    startForm();
    auto* list = control<QListWidget>("lb_anzeige");
    auto* details = control<QTextEdit>("rtb_anzeige");
    EXPECT_EQ(listed(list), (QStringList{QStringLiteral("ALPHA"), QStringLiteral("Alpha"),
                                         QStringLiteral("Äpfel"), QStringLiteral("beta"),
                                         QStringLiteral("Gamma")}));
    EXPECT_EQ(list->currentRow(), 0);
    // Five sets: the commands on them are on offer.
    EXPECT_EQ(control<PictureBox>("pictb_starten")->bitmapNumber(), 124);
    EXPECT_TRUE(details->toPlainText().startsWith(QStringLiteral("Sicherungsname: ALPHA\n")));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(3)).center());
    EXPECT_TRUE(details->toPlainText().startsWith(QStringLiteral("Sicherungsname: beta\n")));
    // Only the left button shows the details.
    QTest::mouseClick(list->viewport(), Qt::RightButton, {},
                      list->visualItemRect(list->item(4)).center());
    EXPECT_TRUE(details->toPlainText().startsWith(QStringLiteral("Sicherungsname: beta\n")));
}

TEST_F(FormTest, OnlyTheLeftButtonOrAKeyPicksASetAndTheCommandsActOnTheOneShown) {
    for (const char* name : {"A", "B", "C"}) {
        storeSet(name, {folder(std::string("quelle") + name)}, folder("ziel"));
    }
    startForm();
    auto* list = control<QListWidget>("lb_anzeige");
    auto* details = control<QTextEdit>("rtb_anzeige");
    const auto at = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
    const auto shows = [details](const char* name) {
        return details->toPlainText().startsWith(QStringLiteral("Sicherungsname: ") +
                                                 QLatin1String(name) + QLatin1Char('\n'));
    };
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at(1));
    ASSERT_TRUE(shows("B"));
    for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mousePress(list->viewport(), other, {}, at(0));
        QTest::mouseRelease(list->viewport(), other, {}, at(0));
        QTest::mouseDClick(list->viewport(), other, {}, at(2));
        EXPECT_EQ(list->currentRow(), 1) << other;
    }
    EXPECT_TRUE(shows("B"));
    presenter.answers = {QMessageBox::Cancel};
    clickPicture(control<PictureBox>("pictb_loeschen"));
    clickPicture(control<PictureBox>("pictb_starten"));
    ASSERT_EQ(presenter.shown.size(), 2u);
    EXPECT_TRUE(presenter.shown[0].text.contains(QStringLiteral("\n\nB\n\n")));
    EXPECT_EQ(presenter.shown[1].text,
              QStringLiteral("Ihre Sicherung 'B' wurde erfolgreich durchgeführt!"));

    // A key that moves the selection shows the set it moved to.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_TRUE(shows("C"));
    presenter.answers = {QMessageBox::Cancel};
    clickPicture(control<PictureBox>("pictb_loeschen"));
    EXPECT_TRUE(presenter.shown.back().text.contains(QStringLiteral("\n\nC\n\n")));
}

// A name of a megabyte from a hand-edited file: the list lays out and the details show only its
// start and end; the list keeps the whole name, so a run finds its set.
TEST_F(FormTest, AVeryLongNameIsShownShortenedAndStillRuns) {
    const std::string name = "Anfang" + std::string(1 << 20, 'x') + "Ende";
    const std::string source = folder("quelle");
    writeBytes(std::filesystem::path(source) / "a.txt", "Inhalt");
    // Longer than the editor and the store take: written by hand.
    writeBytes(dir / "savename.ini", "[SICHERUNG]\r\nname_1=" + name + "\r\n");
    writeBytes(dir / "save.ini",
               "[" + name + "]\r\nvon_0=" + source + "\r\nnach=" + folder("ziel") + "\r\n");
    startForm();
    auto* list = control<QListWidget>("lb_anzeige");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text().toStdString(), name);
    QStyleOptionViewItem option;
    option.initFrom(list);
    EXPECT_LT(list->itemDelegate()->sizeHint(option, list->model()->index(0, 0)).width(), 4000);
    const QString details = control<QTextEdit>("rtb_anzeige")->toPlainText();
    EXPECT_TRUE(details.startsWith(QStringLiteral("Sicherungsname: Anfang")));
    EXPECT_TRUE(details.section(QLatin1Char('\n'), 0, 0).endsWith(QStringLiteral("xxxEnde")));
    EXPECT_LT(details.size(), 1000);

    clickPicture(control<PictureBox>("pictb_starten"));
    EXPECT_EQ(readBytes(dir / "ziel" / "quelle" / "a.txt"), "Inhalt");
}

TEST_F(FormTest, DetailsShowTheStoredValuesAndWarnAboutMissingPaths) {
    const std::string source = folder("quelle");
    const std::string destination = (dir / "fehlt").string();
    storeSet("Daten", {source}, destination, "täglich", "18:30", true);
    Form1& window = startForm();
    const QString expectedText = QString::fromStdString(
        "Sicherungsname: Daten\n\nvon: " + source + "\n\nnach: " + destination +
        "\n\nwann: täglich\nZeit: 18:30\naktiv: ja\n");
    EXPECT_EQ(control<QTextEdit>("rtb_anzeige")->toPlainText(), expectedText);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presenter.shown.empty(); }, 5000));
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Fehler"));
    EXPECT_EQ(presenter.shown[0].icon, QMessageBox::Warning);
    EXPECT_EQ(presenter.shown[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(presenter.shown[0].owner, &window);
    EXPECT_EQ(presenter.shown[0].text,
              QString::fromStdString("Pfad existiert nicht\noder Netzlaufwerk ist nicht verbunden "
                                     "!\n\nSicherungsname: Daten\n\n\n\nnach: " +
                                     destination));
}

// The warning the details give about a set whose only missing path is its destination.
QString missingDestination(const std::string& name, const std::string& destination) {
    return QString::fromStdString(
        "Pfad existiert nicht\noder Netzlaufwerk ist nicht verbunden !\n\n"
        "Sicherungsname: " +
        name + "\n\n\n\nnach: " + destination);
}

TEST_F(FormTest, ASlowPathTestLeavesTheDetailsShownAndWarnsOnlyAboutTheSetStillShown) {
    const auto gate = std::make_shared<Gate>();
    pathExists = [gate](const std::string& path) {
        gate->enter();
        return PathExists(path);
    };
    const std::string missingA = (dir / "fehltA").string();
    const std::string missingB = (dir / "fehltB").string();
    storeSet("A", {folder("quelleA")}, missingA);
    storeSet("B", {folder("quelleB")}, missingB);
    startForm();
    auto* list = control<QListWidget>("lb_anzeige");
    auto* details = control<QTextEdit>("rtb_anzeige");
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate->arrived() == 1; }, 5000));
    // Up and showing A while its first path hangs.
    EXPECT_TRUE(details->toPlainText().startsWith(QStringLiteral("Sicherungsname: A\n")));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_TRUE(details->toPlainText().startsWith(QStringLiteral("Sicherungsname: B\n")));
    EXPECT_TRUE(presenter.shown.empty());
    gate->open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presenter.shown.empty(); }, 5000));
    EXPECT_EQ(presenter.shown[0].text, missingDestination("B", missingB));
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Fehler"));
    // B was asked about after A, on the one thread: nothing about A comes any more.
    QCoreApplication::processEvents();
    EXPECT_EQ(presenter.shown.size(), 1u);
    for (const std::thread::id caller : gate->callers()) {
        EXPECT_NE(caller, std::this_thread::get_id());
    }
}

TEST_F(FormTest, NoWarningComesForDetailsNoLongerShownAndAHangingTestHoldsNothingUp) {
    const auto gate = std::make_shared<Gate>();
    pathExists = [gate](const std::string& path) {
        gate->enter();
        return PathExists(path);
    };
    const std::string missing = (dir / "fehlt").string();
    storeSet("Leer", {}, missing);
    Form1& window = startForm();
    int answers = 0;
    QObject::connect(&app->bridge(), &WindowBridge::detailsPathsTested, [&] { ++answers; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate->arrived() == 1; }, 5000));
    // The answer comes while the log page is open.
    clickPicture(control<PictureBox>("pictb_log_anzeigen"));
    gate->letThrough();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers == 1; }, 5000));
    EXPECT_TRUE(presenter.shown.empty());

    // The answer comes after the set was shown anew.
    clickPicture(control<PictureBox>("pictb_log_schliessen"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate->arrived() == 2; }, 5000));
    auto* list = control<QListWidget>("lb_anzeige");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    gate->letThrough();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers == 2; }, 5000));
    EXPECT_TRUE(presenter.shown.empty());
    gate->letThrough();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers == 3; }, 5000));
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, missingDestination("Leer", missing));

    // The window closes and goes while a path test hangs.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate->arrived() == 4; }, 5000));
    bool closed = false;
    QObject::connect(&window, &Form1::closed, [&] { closed = true; });
    window.close();
    EXPECT_TRUE(closed);
    form.reset();
    app.reset();
    gate->open();
}

TEST_F(FormTest, AManualRunCopiesAndReportsSuccess) {
    const std::string source = folder("quelle");
    writeBytes(std::filesystem::path(source) / "a.txt", "Inhalt");
    storeSet("Daten", {source}, folder("ziel"));
    startForm();
    clickPicture(control<PictureBox>("pictb_starten"));
    EXPECT_EQ(readBytes(dir / "ziel" / "quelle" / "a.txt"), "Inhalt");
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Information"));
    EXPECT_EQ(presenter.shown[0].text,
              QStringLiteral("Ihre Sicherung 'Daten' wurde erfolgreich durchgeführt!"));
    EXPECT_EQ(presenter.shown[0].icon, QMessageBox::Information);
    EXPECT_NE(readBytes(dir / "save.log").find("Verlauf=ok"), std::string::npos);
}

TEST_F(FormTest, AFailingManualRunNamesThePathAndLogsTheError) {
    const std::string missing = (dir / "fehlt.txt").string();
    storeSet("Daten", {missing}, folder("ziel"));
    startForm();
    // The details warn about the missing source first.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presenter.shown.empty(); }, 5000));
    presenter.shown.clear();
    clickPicture(control<PictureBox>("pictb_starten"));
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Fehler"));
    EXPECT_TRUE(presenter.shown[0].text.contains(QString::fromStdString(missing)));
    EXPECT_NE(readBytes(dir / "save.log").find("Verlauf=error"), std::string::npos);
}

TEST_F(FormTest, AManualRunOfASetWithoutDestinationSaysSoAndLogsTheError) {
    writeBytes(dir / "savename.ini", "[SICHERUNG]\r\nname_1=Daten\r\n\r\n[NUMMER]\r\nwert=1\r\n");
    writeBytes(dir / "save.ini", "[Daten]\r\nvon_0=" + folder("quelle") + "\r\nnach=\r\n");
    startForm();
    // The details warn about the missing destination first.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presenter.shown.empty(); }, 5000));
    presenter.shown.clear();
    clickPicture(control<PictureBox>("pictb_starten"));
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Fehler"));
    EXPECT_EQ(presenter.shown[0].text,
              QStringLiteral("Die Sicherung 'Daten' wurde nicht durchgeführt. Sie hat kein Ziel."
                             "\n\nBitte bearbeiten oder löschen Sie die Sicherung."));
    EXPECT_NE(readBytes(dir / "save.log").find("Name=Daten\r\nVerlauf=error"), std::string::npos);
}

TEST_F(FormTest, AScheduledFailureIsShownWithoutHoldingUpTheBackupThread) {
    const std::string missing = (dir / "fehlt.txt").string();
    storeSet("Nacht", {missing}, folder("ziel"), "täglich", "03:17", true);
    Form1& window = startForm();
    // The details warn about the missing source first.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presenter.shown.empty(); }, 5000));
    ASSERT_TRUE(presenter.shown[0].text.startsWith(QStringLiteral("Pfad existiert nicht")));
    presenter.shown.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presenter.shown.empty(); }, 10000));
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Fehler"));
    EXPECT_TRUE(presenter.shown[0].text.contains(QString::fromStdString(missing)));
    EXPECT_NE(readBytes(dir / "save.log").find("Verlauf=error"), std::string::npos);
    window.close();
}

// Notes when the progress window shows and hides.
class ProgressWatch final : public QObject {
public:
    ProgressWatch() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* window = qobject_cast<QWidget*>(watched);
        if (window != nullptr && window->isWindow() &&
            window->windowTitle() == QString::fromUtf8(kCopyProgressTitle)) {
            if (event->type() == QEvent::Show) shown = true;
            if (event->type() == QEvent::Hide && shown) hidden = true;
        }
        return false;
    }
    bool shown = false;
    bool hidden = false;
};

TEST_F(FormTest, AScheduledRunShowsTheProgressWindowUntilItEndsAlsoWhenStartedHidden) {
    writeSettings("[EINSTELLUNG]\r\nstatus=1\r\n");
    trayAvailable = true;
    FakeCopy held(/*hold=*/true);
    copy = held.operation();
    const std::string source = folder("quelle");
    writeBytes(std::filesystem::path(source) / "daten.bin", std::string(1000, 'd'));
    storeSet("Nacht", {source}, folder("ziel"), "täglich", "03:17", true);
    ProgressWatch watch;
    Form1& window = startForm();
    ASSERT_TRUE(held.awaitStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.shown; }, 10000));
    // Once counted, the run shows how far it is, as one started by hand does.
    auto* bar = form->findChild<ProgressWindow*>()->findChild<QProgressBar*>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->maximum() > 0; }, 10000));
    QStringList lines;
    for (const auto* label : bar->parent()->findChildren<QLabel*>()) lines << label->text();
    EXPECT_TRUE(lines.contains(QStringLiteral("0 % – 0 Bytes von 1.000 Bytes kopiert")));
    // All the run has told the window so far is handled: it stays while the copy goes on.
    QCoreApplication::processEvents();
    EXPECT_FALSE(watch.hidden);
    held.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.hidden; }, 10000));
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(presenter.shown.empty());
    form.reset();
    app.reset();
}

TEST_F(FormTest, ALogThatCannotBeWrittenIsShownOnceForAScheduledAndForAManualRun) {
    const std::string source = folder("quelle");
    storeSet("Nacht", {source}, folder("ziel"), "täglich", "03:17", true);
    std::filesystem::create_directory(dir / "save.log");
    Form1& window = startForm();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presenter.shown.empty(); }, 10000));
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Fehler"));
    EXPECT_TRUE(presenter.shown[0].text.startsWith(
        QStringLiteral("Der Verlauf der Sicherung 'Nacht' konnte nicht in die Log Datei")));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "ziel" / "quelle"));

    presenter.shown.clear();
    clickPicture(control<PictureBox>("pictb_starten"));
    ASSERT_EQ(presenter.shown.size(), 2u);
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Information"));
    EXPECT_EQ(presenter.shown[1].title, QStringLiteral("Vaultrix 1.0 - Fehler"));
    EXPECT_TRUE(presenter.shown[1].text.contains(QStringLiteral("save.log")));
    window.close();
}

TEST_F(FormTest, ClosingDuringAManualRunCancelsItCleanly) {
    const std::string source = folder("quelle");
    const std::string big(32 * 1024 * 1024, 'x');
    writeBytes(std::filesystem::path(source) / "gross.bin", big);
    storeSet("Daten", {source}, folder("ziel"));
    Form1& window = startForm();
    bool closed = false;
    QObject::connect(&window, &Form1::closed, [&] { closed = true; });
    QTimer::singleShot(0, &window, [&] { window.close(); });
    clickPicture(control<PictureBox>("pictb_starten"));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(presenter.shown.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app->threadsAlive(); }, 5000));
    // Either nothing arrived or the whole file did; no half-written file is left.
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir / "ziel", error)) {
        if (entry.is_regular_file()) {
            EXPECT_EQ(entry.path().filename(), "gross.bin");
            EXPECT_EQ(entry.file_size(), big.size());
        }
    }
}

const char kLog[] = "[06.12.2026 19:30:05]\r\nSicherung=gestartet\r\nName=Daten\r\nVerlauf=ok\r\n";

TEST_F(FormTest, TheLogPageShowsTheLogAndKeepsItWhenDeletingIsCancelled) {
    writeBytes(dir / "save.log", kLog);
    storeSet("Daten", {folder("quelle")}, folder("ziel"));
    QApplication::setActiveWindow(&startForm());
    clickPicture(control<PictureBox>("pictb_log_anzeigen"));
    const QString shown = control<QTextEdit>("rtb_anzeige")->toPlainText();
    EXPECT_TRUE(shown.startsWith(
        QStringLiteral("[06.12.2026 19:30:05]\nSicherung=gestartet\nName=Daten\nVerlauf=ok")));

    presenter.answers = {QMessageBox::Cancel};
    clickPicture(control<PictureBox>("pictb_log_loeschen"));
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Log Datei löschen?"));
    EXPECT_EQ(presenter.shown[0].text,
              QStringLiteral("Möchten Sie die Log Datei\nwirklich löschen?"));
    EXPECT_EQ(presenter.shown[0].icon, QMessageBox::Warning);
    EXPECT_EQ(presenter.shown[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(readBytes(dir / "save.log"), kLog);
    EXPECT_EQ(control<QTextEdit>("rtb_anzeige")->toPlainText(), shown);

    // Closed, the main page shows the selected set again, the list ready for the keys.
    clickPicture(control<PictureBox>("pictb_log_schliessen"));
    EXPECT_TRUE(control<QTextEdit>("rtb_anzeige")
                    ->toPlainText()
                    .startsWith(QStringLiteral("Sicherungsname: Daten\n")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return control("lb_anzeige")->hasFocus(); }, 5000));
}

TEST_F(FormTest, DeletingTheLogWithOkRemovesTheFileAndEmptiesTheBox) {
    writeBytes(dir / "save.log", kLog);
    startForm();
    clickPicture(control<PictureBox>("pictb_log_anzeigen"));
    presenter.answers = {QMessageBox::Ok};
    clickPicture(control<PictureBox>("pictb_log_loeschen"));
    EXPECT_FALSE(std::filesystem::exists(dir / "save.log"));
    EXPECT_TRUE(control<QTextEdit>("rtb_anzeige")->toPlainText().isEmpty());

    clickPicture(control<PictureBox>("pictb_log_schliessen"));
    clickPicture(control<PictureBox>("pictb_log_anzeigen"));
    EXPECT_TRUE(control<QTextEdit>("rtb_anzeige")->toPlainText().isEmpty());
}

TEST_F(FormTest, AVeryLargeLogShowsItsEndFromAWholeLineWithANote) {
    std::string big;
    while (big.size() < (3u << 20)) big += std::string(kLog) + "\r\n";
    big += "[07.12.2026 03:17:00]\r\nSicherung=gestartet\r\nName=Letzte\r\nVerlauf=ok\r\n";
    writeBytes(dir / "save.log", big);
    startForm();
    clickPicture(control<PictureBox>("pictb_log_anzeigen"));
    const QString note = QStringLiteral(
        "Die Log Datei ist 3,0 MB groß. Angezeigt werden nur ihre letzten 2,0 MB.\n\n");
    const QString shown = control<QTextEdit>("rtb_anzeige")->toPlainText();
    ASSERT_TRUE(shown.startsWith(note)) << shown.left(200).toStdString();
    EXPECT_LE(shown.size() - note.size(), 2 << 20);
    const QStringList recordLines = QString::fromLatin1(kLog).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(recordLines.contains(shown.mid(note.size()).section(QLatin1Char('\n'), 0, 0)));
    EXPECT_TRUE(shown.contains(QStringLiteral("Name=Letzte\nVerlauf=ok")));
    // The page opens at the top, where the note stands.
    EXPECT_EQ(control<QTextEdit>("rtb_anzeige")->verticalScrollBar()->value(), 0);
}

}  // namespace
}  // namespace vaultrix::test
