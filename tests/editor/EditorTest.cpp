#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>
#include <filesystem>
#include <memory>
#include <thread>

#include <sys/stat.h>

#include "app/FormFixture.h"
#include "engine/Scheduler.h"
#include "platform/FolderListing.h"
#include "shell/PictureBox.h"
#include "support/Gate.h"

namespace vaultrix::test {
namespace {

// A main window whose folder tree has one top: the folder "baum" below the working folder.
class EditorTest : public FormTest {
protected:
    void SetUp() override {
        volumeRoots = [this] { return std::vector<std::string>{root()}; };
    }

    std::string root() const { return (dir / "baum").string(); }
    QString path(const std::string& below) const {
        return QString::fromStdString((dir / "baum" / below).string());
    }
    // Folders (ending in "/") and files below the tree's top.
    void make(std::initializer_list<std::string> entries) const {
        for (const std::string& entry : entries) {
            const std::filesystem::path path = dir / "baum" / entry;
            std::filesystem::create_directories(entry.ends_with('/') ? path : path.parent_path());
            if (!entry.ends_with('/')) writeBytes(path, "x");
        }
    }

    QTreeWidget* tree() const { return control<QTreeWidget>("tv_dir"); }
    // The tree's top once it is listed with this many entries, else null.
    QTreeWidgetItem* top(int entries) const {
        for (int i = 0; i < tree()->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = tree()->topLevelItem(i);
            if (item->text(0) == QString::fromStdString(root()) && item->childCount() == entries)
                return item;
        }
        return nullptr;
    }
    PictureBox* picture(const char* name) const { return control<PictureBox>(name); }
    QLineEdit* field(const char* name) const { return control<QLineEdit>(name); }

    // The item at the texts below the tree's top; each item on the way is opened, which lists
    // its folders one level ahead.
    QTreeWidgetItem* item(const QStringList& texts = {}) const {
        QTreeWidgetItem* found = nullptr;
        for (const QString& text : QStringList{QString::fromStdString(root())} + texts) {
            if (found != nullptr) found->setExpanded(true);
            QTreeWidgetItem* next = nullptr;
            const bool listed = QTest::qWaitFor(
                [&] {
                    const int count = found ? found->childCount() : tree()->topLevelItemCount();
                    for (int i = 0; i < count && next == nullptr; ++i) {
                        QTreeWidgetItem* child = found ? found->child(i) : tree()->topLevelItem(i);
                        if (child->text(0) == text) next = child;
                    }
                    return next != nullptr;
                },
                5000);
            EXPECT_TRUE(listed) << text.toStdString();
            if (!listed) return nullptr;
            found = next;
        }
        return found;
    }
    static QStringList children(const QTreeWidgetItem* parent) {
        QStringList texts;
        for (int i = 0; i < parent->childCount(); ++i) texts << parent->child(i)->text(0);
        return texts;
    }
    void addSource(const QStringList& texts) const {
        tree()->setCurrentItem(item(texts));
        clickPicture(picture("pictb_quelle"));
    }
    void takeDestination(const QStringList& texts) const {
        tree()->setCurrentItem(item(texts));
        // Offered once the answer that the entry is a folder has come.
        EXPECT_TRUE(QTest::qWaitFor([&] { return targetOffered(); }, 5000));
        clickPicture(picture("pictb_ziel"));
    }
    bool targetOffered() const { return picture("pictb_ziel")->bitmapNumber() == 106; }
    QStringList sources() const {
        QStringList texts;
        const auto* list = control<QListWidget>("lb_von");
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        return texts;
    }
    bool saveOffered() const { return picture("pictb_sicherung_speichern")->bitmapNumber() == 108; }
    void save() const { clickPicture(picture("pictb_sicherung_speichern")); }
    std::string setFile() const { return readBytes(dir / "save.ini"); }
    std::string nameFile() const { return readBytes(dir / "savename.ini"); }
    std::string stored(const std::string& line) const { return line + "\r\n"; }
};

TEST_F(EditorTest, TheTreeShowsFoldersAboveFilesInReverseOrderAndJoinsPathsOnce) {
    make({"Alpha/", "Beta/", "Gamma/", "a.txt", "x.txt"});
    // Read-only, so its attributes are not those of a plain folder: still a folder.
    std::filesystem::permissions(dir / "baum" / "Gamma", std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::owner_exec);
    startForm();
    clickPicture(picture("pictb_anlegen"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return top(5) != nullptr; }, 5000));
    EXPECT_EQ(children(top(5)),
              (QStringList{QStringLiteral("Gamma"), QStringLiteral("Beta"), QStringLiteral("Alpha"),
                           QStringLiteral("a.txt"), QStringLiteral("x.txt")}));
    takeDestination({QStringLiteral("Beta")});
    EXPECT_EQ(field("textb_nach")->text(), path("Beta"));
    std::filesystem::permissions(dir / "baum" / "Gamma", std::filesystem::perms::owner_all);
}

TEST_F(EditorTest, OpeningAnItemListsItsFoldersOneLevelAhead) {
    make({"Alpha/Innen/Tief/Grund/", "Alpha/b.txt", "Beta/"});
    startForm();
    clickPicture(picture("pictb_anlegen"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return top(2) != nullptr; }, 5000));
    // The fill lists the top and nothing below its entries.
    QTreeWidgetItem* alpha = top(2)->child(1);
    EXPECT_EQ(alpha->childCount(), 0);
    top(2)->setExpanded(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return alpha->childCount() == 2; }, 5000));
    QTreeWidgetItem* inner = alpha->child(0);
    EXPECT_EQ(inner->childCount(), 0);
    alpha->setExpanded(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return inner->childCount() == 1; }, 5000));
    EXPECT_EQ(inner->child(0)->text(0), QStringLiteral("Tief"));
    // Nothing opened "Innen", so "Tief" has not been listed.
    EXPECT_EQ(inner->child(0)->childCount(), 0);

    // Closed and opened again, no folder is listed a second time.
    alpha->setExpanded(false);
    top(2)->setExpanded(false);
    top(2)->setExpanded(true);
    alpha->setExpanded(true);
    // Listings arrive in the order they were asked for: once "Tief" is, so is any repeat.
    inner->setExpanded(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return inner->child(0)->childCount() == 1; }, 5000));
    EXPECT_EQ(children(top(2)), (QStringList{QStringLiteral("Beta"), QStringLiteral("Alpha")}));
    EXPECT_EQ(children(alpha), (QStringList{QStringLiteral("Innen"), QStringLiteral("b.txt")}));
    EXPECT_EQ(children(inner), QStringList{QStringLiteral("Tief")});
}

TEST_F(EditorTest, TheFilledTreeTakesTheFocusWithoutSelectingAnEntry) {
    make({"Alpha/", "a.txt"});
    Form1& window = startForm();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }, 5000));
    clickPicture(picture("pictb_anlegen"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return top(2) != nullptr; }, 5000));
    // The focus elsewhere, the tree is filled anew.
    field("textb_name_der_sicherung")->setFocus();
    ASSERT_TRUE(field("textb_name_der_sicherung")->hasFocus());
    control<QPushButton>("cb_tv_aktuell")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree()->hasFocus(); }, 5000));
    ASSERT_NE(top(2), nullptr);
    EXPECT_EQ(tree()->currentItem(), nullptr);
    EXPECT_TRUE(tree()->selectedItems().isEmpty());
    EXPECT_EQ(picture("pictb_quelle")->bitmapNumber(), 136);
    EXPECT_EQ(picture("pictb_ziel")->bitmapNumber(), 135);
}

TEST_F(EditorTest, TheSelectionDecidesWhichPicturesAreOffered) {
    make({"Alpha/", "a.txt"});
    startForm();
    clickPicture(picture("pictb_anlegen"));
    tree()->setCurrentItem(item({QStringLiteral("Alpha")}));
    EXPECT_EQ(picture("pictb_quelle")->bitmapNumber(), 100);
    ASSERT_TRUE(QTest::qWaitFor([&] { return targetOffered(); }, 5000));
    // A file: the destination picture goes off at once.
    tree()->setCurrentItem(item({QStringLiteral("a.txt")}));
    EXPECT_EQ(picture("pictb_quelle")->bitmapNumber(), 100);
    EXPECT_EQ(picture("pictb_ziel")->bitmapNumber(), 135);
    tree()->setCurrentItem(item());
    ASSERT_TRUE(QTest::qWaitFor([&] { return targetOffered(); }, 5000));
    EXPECT_EQ(picture("pictb_quelle")->bitmapNumber(), 100);
}

TEST_F(EditorTest, ASlowFolderTestHoldsNothingUpAndAnswersOnlyForTheSelectedEntry) {
    make({"Alpha/", "a.txt"});
    const auto gate = std::make_shared<Gate>();
    isFolderPath = [gate](const std::string& path) {
        gate->enter();
        return fs::isFolderPath(path);
    };
    startForm();
    clickPicture(picture("pictb_anlegen"));
    tree()->setCurrentItem(item({QStringLiteral("Alpha")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate->arrived() == 1; }, 5000));
    // The window goes on while the answer about Alpha is outstanding.
    EXPECT_EQ(picture("pictb_quelle")->bitmapNumber(), 100);
    EXPECT_EQ(picture("pictb_ziel")->bitmapNumber(), 135);
    // The answer about Alpha comes while a.txt is selected: the thread asks about a.txt only
    // after it has answered about Alpha.
    tree()->setCurrentItem(item({QStringLiteral("a.txt")}));
    gate->letThrough();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate->arrived() == 2; }, 5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(picture("pictb_ziel")->bitmapNumber(), 135);

    tree()->setCurrentItem(item({QStringLiteral("Alpha")}));
    gate->open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return targetOffered(); }, 5000));
    for (const std::thread::id caller : gate->callers()) {
        EXPECT_NE(caller, std::this_thread::get_id());
    }
}

TEST_F(EditorTest, ASetIsCompleteWithSourceNameDestinationAndAValidTimeWhenActive) {
    make({"Alpha/", "Beta/"});
    startForm();
    clickPicture(picture("pictb_anlegen"));
    addSource({QStringLiteral("Alpha")});
    field("textb_name_der_sicherung")->setText(QStringLiteral("Daten"));
    EXPECT_FALSE(saveOffered());
    takeDestination({QStringLiteral("Beta")});
    // Not active: the empty time does not count.
    EXPECT_TRUE(saveOffered());
    auto* active = control<QCheckBox>("checkbox_aktiv");
    active->click();
    EXPECT_FALSE(saveOffered());
    for (const auto& [time, valid] : std::vector<std::pair<const char*, bool>>{
             {"23:59", true}, {"24:00", false}, {"00:00", true}, {"12:60", false}, {"1", false}}) {
        field("mtextb_uhr")->setText(QString::fromLatin1(time));
        EXPECT_EQ(saveOffered(), valid) << time;
    }
    active->click();
    EXPECT_TRUE(saveOffered());
    clickPicture(picture("pictb_quelle_aloeschen"));
    EXPECT_FALSE(saveOffered());
}

TEST_F(EditorTest, ASourceListedAlreadyIsNotAddedAgainAndCaseTellsFoldersApart) {
    make({"Daten/a.txt", "daten/A.TXT", "daten/a.txt"});
    startForm();
    clickPicture(picture("pictb_anlegen"));
    addSource({QStringLiteral("Daten"), QStringLiteral("a.txt")});
    addSource({QStringLiteral("Daten"), QStringLiteral("a.txt")});
    EXPECT_EQ(sources(), QStringList{path("Daten/a.txt")});
    // Names that differ only in case are different entries here.
    addSource({QStringLiteral("daten"), QStringLiteral("A.TXT")});
    addSource({QStringLiteral("daten"), QStringLiteral("a.txt")});
    EXPECT_EQ(sources().size(), 3);
    EXPECT_TRUE(presenter.shown.empty());

    // A destination that differs from a source only in case is another folder.
    clickPicture(picture("pictb_quelle_aloeschen"));
    addSource({QStringLiteral("daten")});
    field("textb_name_der_sicherung")->setText(QStringLiteral("Fall"));
    takeDestination({QStringLiteral("Daten")});
    save();
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_NE(setFile().find(stored("nach=" + root() + "/Daten")), std::string::npos);
}

TEST_F(EditorTest, ADestinationEqualToASourceIsRefusedOneInsideItIsSaved) {
    make({"Alpha/Innen/"});
    startForm();
    clickPicture(picture("pictb_anlegen"));
    addSource({QStringLiteral("Alpha")});
    field("textb_name_der_sicherung")->setText(QStringLiteral("Daten"));
    takeDestination({QStringLiteral("Alpha")});
    save();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, QStringLiteral("Quelle und Ziel darf nicht gleich sein !"));
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Fehler"));
    EXPECT_EQ(presenter.shown[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(tree()->isVisible());
    EXPECT_EQ(setFile(), "");
    takeDestination({QStringLiteral("Alpha"), QStringLiteral("Innen")});
    save();
    EXPECT_FALSE(tree()->isVisible());
    EXPECT_NE(setFile().find(stored("nach=" + root() + "/Alpha/Innen")), std::string::npos);
}

TEST_F(EditorTest, SavingANewAnEditedAndARenamedSetWritesTheStoredLines) {
    make({"Alpha/", "Beta/", "x.txt"});
    startForm();
    clickPicture(picture("pictb_anlegen"));
    addSource({QStringLiteral("x.txt")});
    addSource({QStringLiteral("Alpha")});
    takeDestination({QStringLiteral("Beta")});
    field("textb_name_der_sicherung")->setText(QStringLiteral("Tag"));
    control<QCheckBox>("checkbox_aktiv")->click();
    field("mtextb_uhr")->setText(QStringLiteral("18:30"));
    save();
    const std::string values = stored("nach=" + root() + "/Beta") + stored("wann=t\xE4glich");
    EXPECT_EQ(setFile(), stored("[Tag]") + stored("von_0=" + root() + "/Alpha") +
                             stored("von_1=" + root() + "/x.txt") + values + stored("zeit=18:30") +
                             stored("aktiv=ja"));
    EXPECT_EQ(nameFile(), "[SICHERUNG]\r\nname_1=Tag\r\n\r\n[NUMMER]\r\nwert=1");
    EXPECT_NE(readBytes(dir / "save.log").find("Sicherung=neu"), std::string::npos);

    clickPicture(picture("pictb_bearbeiten"));
    EXPECT_EQ(sources(), (QStringList{path("Alpha"), path("x.txt")}));
    EXPECT_EQ(field("mtextb_uhr")->text(), QStringLiteral("18:30"));
    EXPECT_FALSE(saveOffered());
    control<QListWidget>("lb_von")->item(1)->setSelected(true);
    clickPicture(picture("pictb_quelle_loeschen"));
    // Not active with a half-typed time: stored as the field shows it, with the mask's colon,
    // and shown so in the details.
    control<QCheckBox>("checkbox_aktiv")->click();
    field("mtextb_uhr")->clear();
    field("mtextb_uhr")->setCursorPosition(0);
    QTest::keyClicks(field("mtextb_uhr"), QStringLiteral("1"));
    save();
    EXPECT_EQ(setFile(), stored("[Tag]") + stored("von_0=" + root() + "/Alpha") + values +
                             stored("zeit=1:") + stored("aktiv=nein"));
    EXPECT_NE(readBytes(dir / "save.log").find("Sicherung=bearbeitet"), std::string::npos);
    EXPECT_TRUE(control<QTextEdit>("rtb_anzeige")
                    ->toPlainText()
                    .contains(QStringLiteral("Zeit: 1:\naktiv: nein")));

    clickPicture(picture("pictb_bearbeiten"));
    EXPECT_EQ(field("mtextb_uhr")->displayText(), QStringLiteral("1 :  "));
    field("mtextb_uhr")->clear();
    field("textb_name_der_sicherung")->setText(QStringLiteral("Woche"));
    save();
    EXPECT_EQ(setFile().substr(0, 9), stored("[Woche]"));
    EXPECT_NE(setFile().find(stored("zeit=:")), std::string::npos);
    EXPECT_EQ(nameFile(), "[SICHERUNG]\r\nname_1=Woche\r\n\r\n[NUMMER]\r\nwert=1\r\n");
}

// The clock stands at 03:17: the caption counts down to a set saved due at 03:20, and forgets
// it once it is deleted.
TEST_F(EditorTest, SavingAndDeletingRebuildTheScheduleTheCaptionCountsDownTo) {
    make({"Alpha/", "Beta/"});
    Form1& window = startForm();
    const auto shows = [&window](bool none, int minutes) {
        const QString caption = QStringLiteral("Vaultrix 1.0 - ") +
                                QString::fromStdString(statusTextFor(none, minutes).oneLine);
        const bool shown = QTest::qWaitFor([&] { return window.windowTitle() == caption; }, 10000);
        EXPECT_TRUE(shown) << window.windowTitle().toStdString();
        return shown;
    };
    ASSERT_TRUE(shows(true, kNoNextRun));
    clickPicture(picture("pictb_anlegen"));
    addSource({QStringLiteral("Alpha")});
    takeDestination({QStringLiteral("Beta")});
    field("textb_name_der_sicherung")->setText(QStringLiteral("Bald"));
    control<QCheckBox>("checkbox_aktiv")->click();
    field("mtextb_uhr")->setText(QStringLiteral("03:20"));
    save();
    ASSERT_TRUE(shows(false, 3));
    clock.set(at(7, 12, 2026, 3, 18, 0, 1));
    ASSERT_TRUE(shows(false, 2));
    clickPicture(picture("pictb_loeschen"));
    EXPECT_TRUE(shows(true, kNoNextRun));
}

TEST_F(EditorTest, NamesAndPathsThatCannotBeStoredAndWholeRootsAreRefused) {
    volumeRoots = [this] { return std::vector<std::string>{"/", root()}; };
    make({"Alpha/", "Beta/", "Привет/"});
    storeSet("Woche", {folder("quelle")}, folder("ziel"));
    storeSet("Monat", {folder("quelle")}, folder("ziel"));
    const std::string before = setFile();
    startForm();
    clickPicture(picture("pictb_anlegen"));
    const auto lastMessage = [&] { return presenter.shown.back().text; };
    QTreeWidgetItem* systemRoot = nullptr;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (systemRoot = tree()->topLevelItem(0)) != nullptr; }, 5000));
    tree()->setCurrentItem(systemRoot);
    clickPicture(picture("pictb_quelle"));
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("Ein Laufwerk oder Wurzelordner")));
    addSource({QStringLiteral("Привет")});
    takeDestination({QStringLiteral("Привет")});
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("nicht gespeichert werden")));
    EXPECT_EQ(presenter.shown.size(), 3u);
    EXPECT_TRUE(sources().isEmpty());
    EXPECT_TRUE(field("textb_nach")->text().isEmpty());

    addSource({QStringLiteral("Alpha")});
    takeDestination({QStringLiteral("Beta")});
    for (const QString& name : {QStringLiteral("Привет"), QStringLiteral("Woche")}) {
        field("textb_name_der_sicherung")->setText(name);
        save();
    }
    EXPECT_EQ(lastMessage(), QStringLiteral("Eine Sicherung mit diesem Namen existiert bereits !"));
    EXPECT_EQ(presenter.shown.size(), 5u);
    EXPECT_EQ(field("textb_name_der_sicherung")->text(), QStringLiteral("Woche"));
    clickPicture(picture("pictb_sicherung_verwerfen"));
    // A stored set renamed to another's name.
    control<QListWidget>("lb_anzeige")->setCurrentRow(0);
    clickPicture(picture("pictb_bearbeiten"));
    field("textb_name_der_sicherung")->setText(QStringLiteral("Woche"));
    save();
    EXPECT_EQ(lastMessage(), QStringLiteral("Eine Sicherung mit diesem Namen existiert bereits !"));
    EXPECT_EQ(setFile(), before);
}

// Texts whose stored bytes would read back as other characters, and names longer than 200
// characters, are refused where they enter, with the store's reason.
TEST_F(EditorTest, NamesAndPathsThatWouldNotReadBackAreRefused) {
    make({"Alpha/", "Beta/", "MÃ¼ller/"});
    startForm();
    clickPicture(picture("pictb_anlegen"));
    const auto lastMessage = [&] {
        return presenter.shown.empty() ? QString() : presenter.shown.back().text;
    };
    const QString misread = QStringLiteral(
        "enthält die Zeichenfolge „Ã¼“, die nach dem Speichern als „ü“ gelesen würde, und kann "
        "so nicht gespeichert werden.");
    addSource({QStringLiteral("MÃ¼ller")});
    EXPECT_EQ(lastMessage(),
              QStringLiteral("Der Pfad\n\n") + path("MÃ¼ller") + QStringLiteral("\n\n") + misread +
                  QStringLiteral(" Bitte benennen Sie die Datei oder den Ordner um."));
    takeDestination({QStringLiteral("MÃ¼ller")});
    EXPECT_EQ(presenter.shown.size(), 2u);
    EXPECT_TRUE(sources().isEmpty());
    EXPECT_TRUE(field("textb_nach")->text().isEmpty());

    addSource({QStringLiteral("Alpha")});
    takeDestination({QStringLiteral("Beta")});
    field("textb_name_der_sicherung")->setText(QStringLiteral("MÃ¼ller"));
    save();
    EXPECT_EQ(lastMessage(), QStringLiteral("Der Name der Sicherung ") + misread);
    field("textb_name_der_sicherung")->setText(QString(201, QLatin1Char('n')));
    save();
    EXPECT_EQ(lastMessage(), QStringLiteral("Der Name der Sicherung ist länger als 200 Zeichen. "
                                            "Bitte kürzen Sie ihn."));
    EXPECT_EQ(presenter.shown.size(), 4u);
    EXPECT_FALSE(std::filesystem::exists(dir / "save.ini"));
    field("textb_name_der_sicherung")->setText(QString(200, QLatin1Char('n')));
    save();
    EXPECT_EQ(presenter.shown.size(), 4u);
    EXPECT_EQ(nameFile(),
              "[SICHERUNG]\r\nname_1=" + std::string(200, 'n') + "\r\n\r\n[NUMMER]\r\nwert=1");
}

// A stored set must work on the Windows PCs it is made for, so a destination whose own name
// Windows cannot hold is refused on every system; the folders above it and a source only where
// the system itself cannot hold the name (a Linux folder may end in a dot, a share's folder
// hold a colon).
TEST_F(EditorTest, ADestinationWindowsCannotHoldIsRefusedWhereverItEnters) {
    make({"Ziel./", "Unter/CON/", "Quelle./", "smb-share:server=nas/Gut/"});
    storeSet("Alt", {folder("quelle")}, folder("Sicherung "));
    const std::string before = setFile();
    startForm();
    clickPicture(picture("pictb_anlegen"));
    const auto lastMessage = [&] {
        return presenter.shown.empty() ? QString() : presenter.shown.back().text;
    };
    takeDestination({QStringLiteral("Ziel.")});
    EXPECT_EQ(lastMessage(), QStringLiteral("Der Zielordner\n\n") + path("Ziel.") +
                                 QStringLiteral("\n\nkann so nicht angelegt werden: Der Name "
                                                "„Ziel.“ endet mit einem Punkt oder Leerzeichen, "
                                                "das Windows nicht erlaubt. Bitte wählen Sie einen "
                                                "anderen Ordner oder benennen Sie ihn um."));
    takeDestination({QStringLiteral("Unter"), QStringLiteral("CON")});
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("„CON“ ist unter Windows einem Gerät")));
    EXPECT_EQ(presenter.shown.size(), 2u);
    EXPECT_TRUE(field("textb_nach")->text().isEmpty());

    addSource({QStringLiteral("Quelle.")});
    EXPECT_EQ(presenter.shown.size(), 2u);
    EXPECT_EQ(sources(), QStringList{path("Quelle.")});
    takeDestination({QStringLiteral("smb-share:server=nas"), QStringLiteral("Gut")});
    EXPECT_EQ(field("textb_nach")->text(), path("smb-share:server=nas/Gut"));
    clickPicture(picture("pictb_sicherung_verwerfen"));

    // A stored destination is refused when the set is saved again, and the set stays as it was.
    control<QListWidget>("lb_anzeige")->setCurrentRow(0);
    clickPicture(picture("pictb_bearbeiten"));
    field("textb_name_der_sicherung")->setText(QStringLiteral("Neu"));
    save();
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("„Sicherung “ endet mit einem Punkt")));
    EXPECT_EQ(presenter.shown.size(), 3u);
    EXPECT_EQ(setFile(), before);
}

TEST_F(EditorTest, DeletingAsksAndOnlyOkRemovesTheSet) {
    storeSet("Daten", {folder("quelle")}, folder("ziel"));
    startForm();
    const std::string before = setFile();
    presenter.answers = {QMessageBox::Cancel};
    clickPicture(picture("pictb_loeschen"));
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Sicherung löschen?"));
    EXPECT_EQ(presenter.shown[0].text,
              QStringLiteral("Möchten Sie die Sicherung \nmit dem Namen\n\nDaten\n\nwirklich "
                             "löschen?"));
    EXPECT_EQ(presenter.shown[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(setFile(), before);

    clickPicture(picture("pictb_loeschen"));
    EXPECT_EQ(setFile(), "");
    EXPECT_EQ(nameFile(), "[SICHERUNG]\r\n\r\n[NUMMER]\r\nwert=0\r\n");
    EXPECT_NE(readBytes(dir / "save.log").find("Sicherung=gel\xF6scht"), std::string::npos);
    EXPECT_EQ(control<QListWidget>("lb_anzeige")->count(), 0);
    EXPECT_TRUE(control<QTextEdit>("rtb_anzeige")->toPlainText().isEmpty());
    EXPECT_EQ(picture("pictb_bearbeiten")->bitmapNumber(), 120);
    EXPECT_EQ(picture("pictb_loeschen")->bitmapNumber(), 123);
    EXPECT_EQ(picture("pictb_starten")->bitmapNumber(), 126);
}

TEST_F(EditorTest, TheNewFolderReachesTheDestinationAtTheNextActivationOnly) {
    Form1& window = startForm();
    auto* dialog = control<QDialog>("Form5");
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("textb_nach"));
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("cb_ordner_erstellen"));
    auto* destination = field("textb_nach");
    const auto createFolder = [&](const char* typed, QPushButton* button) {
        QApplication::setActiveWindow(&window);
        findCommand(control<QMenu>("ID_Form1_popup_ordner"), kFolderCommandCreateFolder)->trigger();
        ASSERT_TRUE(dialog->isVisible());
        QApplication::setActiveWindow(dialog);
        EXPECT_FALSE(ok->isEnabled());
        QTest::keyClicks(name, QString::fromUtf8(typed));
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
    };
    const auto activate = [&] {
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }, 5000));
    };

    // Below a parent that ends with a separator: one separator between them.
    destination->setText(QString::fromStdString(root() + "/"));
    std::filesystem::create_directories(dir / "baum");
    createFolder("Neu", ok);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "baum" / "Neu"));
    activate();
    EXPECT_EQ(destination->text(), path("Neu"));
    EXPECT_NE(readBytes(dir / "Einstellung.ini").find("pfad=\r\n"), std::string::npos);

    createFolder("Zwei", dialog->findChild<QPushButton*>(QStringLiteral("cb_1")));
    activate();
    EXPECT_FALSE(std::filesystem::exists(dir / "baum" / "Neu" / "Zwei"));
    EXPECT_EQ(destination->text(), path("Neu"));

    // Ok stays offered once a name was typed, also when it is emptied again.
    findCommand(control<QMenu>("ID_Form1_popup_ordner"), kFolderCommandCreateFolder)->trigger();
    QApplication::setActiveWindow(dialog);
    QTest::keyClicks(name, QStringLiteral("X"));
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_TRUE(ok->isEnabled());
    // The main window activated while the dialog is open ends the hand-over.
    activate();
    QTest::keyClicks(name, QStringLiteral("Drei"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QApplication::setActiveWindow(nullptr);
    activate();
    EXPECT_TRUE(std::filesystem::is_directory(dir / "baum" / "Neu" / "Drei"));
    EXPECT_EQ(destination->text(), path("Neu"));

    // A name that would not read back is refused; the dialog stays open for another.
    findCommand(control<QMenu>("ID_Form1_popup_ordner"), kFolderCommandCreateFolder)->trigger();
    QApplication::setActiveWindow(dialog);
    QTest::keyClicks(name, QStringLiteral("Ã¤"));
    QTest::mouseClick(ok, Qt::LeftButton);
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().text,
              QStringLiteral("Der Ordnername enthält die Zeichenfolge „Ã¤“, die nach dem "
                             "Speichern als „ä“ gelesen würde, und kann so nicht gespeichert "
                             "werden."));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(std::filesystem::exists(dir / "baum" / "Neu" / "Ã¤"));

    // Nor is a name Windows cannot hold made, on any system.
    for (const char* refused : {"Neu ", "nul.txt", "a:b"}) {
        name->clear();
        QTest::keyClicks(name, QString::fromUtf8(refused));
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_TRUE(presenter.shown.back().text.startsWith(
            QStringLiteral("Der Ordner kann so nicht angelegt werden: Der Name „") +
            QString::fromUtf8(refused) + QStringLiteral("“")))
            << refused;
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(std::filesystem::exists(dir / "baum" / "Neu" / refused)) << refused;
        EXPECT_EQ(readBytes(dir / "Einstellung.ini").find(refused), std::string::npos);
    }
}

TEST_F(EditorTest, TheNewFoldersNameStopsAtTheFieldsWidthAndTheFolderHasTheUsersPermissions) {
    Form1& window = startForm();
    auto* dialog = control<QDialog>("Form5");
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("textb_nach"));
    field("textb_nach")->setText(QString::fromStdString(root()));
    std::filesystem::create_directories(dir / "baum");
    QApplication::setActiveWindow(&window);
    findCommand(control<QMenu>("ID_Form1_popup_ordner"), kFolderCommandCreateFolder)->trigger();
    QApplication::setActiveWindow(dialog);

    // The cursor's place after the text, painted, shows whether the field scrolled.
    const auto cursorAt = [&](int position) {
        name->setCursorPosition(position);
        name->grab();
        return name->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    };
    const QString wide = QString(20, QLatin1Char('W')) + QString(100, QLatin1Char('i'));
    QTest::keyClicks(name, wide);
    const QString typed = name->text();
    EXPECT_GT(typed.size(), 5);
    EXPECT_LT(typed.size(), wide.size());
    EXPECT_NEAR(cursorAt(typed.size()) - cursorAt(0),
                QFontMetricsF(name->font()).horizontalAdvance(typed), 1.0);
    // A place made takes a character again, and the field is full once more.
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClick(name, Qt::Key_Backspace);
    QTest::keyClicks(name, typed.right(1) + QStringLiteral("i"));
    EXPECT_EQ(name->text().toStdString(), typed.toStdString());
    // Of a longer text pasted in, what fits.
    name->clear();
    QApplication::clipboard()->setText(wide);
    name->paste();
    EXPECT_EQ(name->text().toStdString(), typed.toStdString());

    const mode_t before = ::umask(027);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cb_ordner_erstellen")),
                      Qt::LeftButton);
    ::umask(before);
    EXPECT_EQ(permissionsOf(dir / "baum" / typed.toStdString()), 0750u);
}

}  // namespace
}  // namespace vaultrix::test
