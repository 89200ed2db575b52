#include "shell/SoundPlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace vaultrix {

bool OutputSoundPlayer::playSound(const QString& name) {
    if (!output_.hasDevice()) return false;
    output_.stop();
    return output_.start(name);
}

QtSoundOutput::QtSoundOutput() = default;

QtSoundOutput::~QtSoundOutput() = default;

bool QtSoundOutput::hasDevice() const {
    return !QMediaDevices::audioOutputs().isEmpty();
}

void QtSoundOutput::stop() {
    if (playing_ != nullptr) playing_->stop();
    playing_ = nullptr;
}

bool QtSoundOutput::start(const QString& name) {
    std::unique_ptr<QSoundEffect>& sound = sounds_[name];
    if (sound == nullptr) {
        sound = std::make_unique<QSoundEffect>();
        sound->setSource(QUrl(QStringLiteral("qrc:/sounds/%1.wav").arg(name)));
    }
    if (sound->status() == QSoundEffect::Error) return false;
    // A sound still loading starts as soon as it is loaded.
    sound->play();
    playing_ = sound.get();
    return true;
}

}  // namespace vaultrix
