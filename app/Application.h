#pragma once

#include <QRect>
#include <QTranslator>
#include <memory>
#include <optional>

#include "app/AppServices.h"
#include "app/Form1.h"
#include "platform/Clock.h"
#include "platform/InstanceLock.h"
#include "shell/MessagePresenter.h"
#include "shell/SoundPlayer.h"

class QLockFile;

namespace vaultrix {

// The life of the program up to its event loop: one program per working folder, the main
// window created hidden and brought up by its create handler, and the quit when it closes.
class Application {
public:
    // The real program: the machine's clock, real message boxes, its own sounds on the sound
    // output, the current working folder and the primary screen's work area.
    Application();
    // A program over other services (tests).
    explicit Application(const FormServices& services);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Brings the program up. Returns the exit code when it must end before its event loop:
    // 0 when Vaultrix already runs in this folder, 1 when the work area is too narrow.
    std::optional<int> start();

    // True when a background thread did not end when asked.
    bool threadsLeft() const;
    Form1* window() const { return form_.get(); }

private:
    // Qt's own texts (standard buttons, the text fields' menus, key names) in German, where
    // Qt's translations are installed.
    QTranslator qtTexts_;
    SystemClock clock_;
    QtMessagePresenter messages_;
    QtSoundOutput soundOutput_;
    OutputSoundPlayer sounds_{soundOutput_};
    FormServices services_;
    InstanceLock folderLock_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<AppServices> app_;
    // After the core objects, so it goes before them.
    std::unique_ptr<Form1> form_;
};

// The desktop's work area: the primary screen without task bars and docks.
QRect primaryWorkArea();

// The lock file that keeps a Vaultrix of another computer out of a shared working folder, held
// while the program runs; programs of this computer meet at the folder's InstanceLock first.
QString instanceLockFile(const std::filesystem::path& folder);

}  // namespace vaultrix
