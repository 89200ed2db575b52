#include "shell/SoundPlayer.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace vaultrix {
namespace {

// A sound output that notes what it was told.
class FakeOutput final : public SoundOutput {
public:
    bool hasDevice() const override { return device; }
    void stop() override {
        if (!playing.isEmpty()) stopped << playing;
        playing.clear();
    }
    bool start(const QString& name) override {
        playing = name;
        return true;
    }

    bool device = true;
    QString playing;
    QStringList stopped;
};

TEST(SoundPlayer, ANewSoundReplacesThePlayingOneAndWithoutADeviceNothingPlays) {
    FakeOutput output;
    OutputSoundPlayer player(output);
    EXPECT_TRUE(player.playSound(QStringLiteral("KLICK")));
    EXPECT_TRUE(player.playSound(QStringLiteral("MENUE_ZU")));
    EXPECT_EQ(output.stopped, QStringList{QStringLiteral("KLICK")});
    EXPECT_EQ(output.playing, QStringLiteral("MENUE_ZU"));

    output.device = false;
    EXPECT_FALSE(player.playSound(QStringLiteral("MENUE_AUF")));
    EXPECT_EQ(output.playing, QStringLiteral("MENUE_ZU"));
}

}  // namespace
}  // namespace vaultrix
