#pragma once

#include <gtest/gtest.h>

#include <QRect>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "FakePresenter.h"
#include "app/AppServices.h"
#include "app/Form1.h"
#include "shell/SoundPlayer.h"
#include "support/FakeClock.h"
#include "support/TempDir.h"

class QPoint;

namespace vaultrix::test {

// Remembers the sounds the window asked for.
class RecordingSoundPlayer final : public SoundPlayer {
public:
    bool playSound(const QString& name) override {
        played << name;
        return true;
    }
    QStringList played;
};

// A main window over a fresh working folder, a clock set to a quiet moment (no set falls due)
// and a 1024 × 768 work area.
class FormTest : public ::testing::Test {
protected:
    FormServices services();
    // The same services over another working folder.
    FormServices services(const std::filesystem::path& folder);
    // Builds the core objects and the window and runs its create handler; the test fails if it
    // refuses to start.
    Form1& startForm();
    // The window's control (or menu) of this name; the test fails without one.
    template <class Control = QWidget>
    Control* control(const char* name) const {
        auto* found = form->findChild<Control*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Stores a set whose sources and destination are folders below the working folder.
    void storeSet(const std::string& name, const std::vector<std::string>& sources,
                  const std::string& destination, const std::string& day = "Montag",
                  const std::string& time = "08:00", bool active = false);
    // A folder below the working folder, created.
    std::string folder(const std::string& name) const;
    void writeSettings(const std::string& bytes) const;

    TempDir dir;
    FakeClock clock{at(7, 12, 2026, 3, 17, 0, 1)};
    FakePresenter presenter;
    RecordingSoundPlayer sounds;
    QRect workArea{0, 0, 1024, 768};
    // Whether the desktop offers a tray; the headless one has none.
    bool trayAvailable = false;
    // The copy the runs use; none for the real one.
    BackupRunner::CopyOperation copy;
    // The folder tree's tops; none for the system's.
    TreeListing::Roots volumeRoots;
    // The path tests of the details and the tree's selection; none for the system's.
    PathTest pathExists;
    PathTest isFolderPath;
    std::unique_ptr<AppServices> app;
    // After the core objects, so it goes before them.
    std::unique_ptr<Form1> form;
};

// A full click on a picture: press at (5, 5), release at `releaseAt`.
void clickPicture(QWidget* picture, const QPoint& releaseAt);
void clickPicture(QWidget* picture);

}  // namespace vaultrix::test
