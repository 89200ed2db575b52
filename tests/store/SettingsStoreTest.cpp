#include <gtest/gtest.h>

#include "store/SettingsStore.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

class SettingsStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    SettingsStore settings{dir.path()};
    std::filesystem::path file = dir / kSettingsFileName;
};

TEST_F(SettingsStoreTest, WorkedExampleByteForByte) {
    ASSERT_TRUE(settings.saveDialogSettings(DialogSettings{true, false, true}));
    ASSERT_TRUE(settings.writePendingPath("E:\\Sicherung"));
    EXPECT_EQ(readBytes(file),
              "[EINSTELLUNG]\r\npfad=E:\\Sicherung\r\nstatus=0\r\nmethode=1\r\n\r\n"
              "[SOUNDANI]\r\nstatus=1\r\n");
}

TEST_F(SettingsStoreTest, MissingFileGivesTheDefaults) {
    EXPECT_FALSE(settings.overwriteMode());
    EXPECT_FALSE(settings.startHidden());
    EXPECT_FALSE(settings.soundAnimationOn());
    EXPECT_EQ(settings.loadDialogSettings(), (DialogSettings{}));
    EXPECT_EQ(settings.readPendingPath(), "");
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(SettingsStoreTest, EachReaderAppliesItsOwnValueTest) {
    writeBytes(file, "[EINSTELLUNG]\r\nstatus=2\r\nmethode=2\r\n\r\n[SOUNDANI]\r\nstatus=01\r\n");
    EXPECT_FALSE(settings.overwriteMode());
    EXPECT_TRUE(settings.startHidden());
    EXPECT_FALSE(settings.soundAnimationOn());
    EXPECT_EQ(settings.loadDialogSettings(), (DialogSettings{true, true, true}));

    writeBytes(file, "[EINSTELLUNG]\r\nstatus= 0x\r\nmethode=1\r\n\r\n[SOUNDANI]\r\nstatus=1\r\n");
    EXPECT_TRUE(settings.overwriteMode());
    EXPECT_FALSE(settings.startHidden());
    EXPECT_TRUE(settings.soundAnimationOn());
    EXPECT_EQ(settings.loadDialogSettings(), (DialogSettings{true, false, true}));
}

TEST_F(SettingsStoreTest, HandOverKeepsAnEmptyPathLine) {
    ASSERT_TRUE(settings.writePendingPath("E:\\Sicherung\\Neu"));
    EXPECT_EQ(settings.readPendingPath(), "E:\\Sicherung\\Neu");
    ASSERT_TRUE(settings.clearPendingPath());
    EXPECT_EQ(settings.readPendingPath(), "");
    EXPECT_EQ(readBytes(file), "[EINSTELLUNG]\r\npfad=\r\n");

    ASSERT_TRUE(settings.saveDialogSettings(DialogSettings{false, true, false}));
    EXPECT_EQ(readBytes(file),
              "[EINSTELLUNG]\r\nstatus=1\r\nmethode=0\r\npfad=\r\n\r\n[SOUNDANI]\r\nstatus=0");
}

TEST_F(SettingsStoreTest, APathThatWouldNotReadBackIsRefused) {
    ASSERT_TRUE(settings.writePendingPath("E:\\Alt"));
    const auto before = readBytes(file);
    EXPECT_FALSE(settings.writePendingPath("/home/Иван"));
    const auto lookalike = settings.writePendingPath("E:\\MÃ¼ller");
    ASSERT_FALSE(lookalike);
    EXPECT_EQ(lookalike.error().message,
              "Der Pfad 'E:\\MÃ¼ller' enthält die Zeichenfolge „Ã¼“, die nach dem Speichern als "
              "„ü“ gelesen würde, und kann so nicht gespeichert werden.");
    EXPECT_EQ(readBytes(file), before);
}

}  // namespace
}  // namespace vaultrix
