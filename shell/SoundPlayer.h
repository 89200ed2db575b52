#pragma once

#include <QString>
#include <map>
#include <memory>

class QSoundEffect;

namespace vaultrix {

// Plays the program's short sounds ("MENUE_AUF", "MENUE_ZU", "MOVE", "KLICK") by name. The
// window asks through this seam, so tests can record what would sound.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the sound and returns at once; a new sound replaces one still playing. False when
    // nothing plays.
    virtual bool playSound(const QString& name) = 0;
};

// Plays nothing: the program runs silent.
class SilentSoundPlayer final : public SoundPlayer {
public:
    bool playSound(const QString&) override { return false; }
};

// The machine's sound output as the player uses it.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // False when the machine has no sound output device.
    virtual bool hasDevice() const = 0;
    // Stops the sound that plays, if one does.
    virtual void stop() = 0;
    // Starts the named sound and returns at once; false when it cannot start.
    virtual bool start(const QString& name) = 0;
};

// Plays through an output: silent without a device, and one sound at a time, so a new sound
// stops the one before it.
class OutputSoundPlayer final : public SoundPlayer {
public:
    explicit OutputSoundPlayer(SoundOutput& output) : output_(output) {}
    bool playSound(const QString& name) override;

private:
    SoundOutput& output_;
};

// The program's own WAVE resources (":/sounds/<name>.wav") on the default output device. Each
// sound is loaded when it first plays.
class QtSoundOutput final : public SoundOutput {
public:
    QtSoundOutput();
    ~QtSoundOutput() override;
    bool hasDevice() const override;
    void stop() override;
    bool start(const QString& name) override;

private:
    std::map<QString, std::unique_ptr<QSoundEffect>> sounds_;
    QSoundEffect* playing_ = nullptr;
};

}  // namespace vaultrix
