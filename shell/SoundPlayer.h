#pragma once

#include <QString>

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

}  // namespace vaultrix
