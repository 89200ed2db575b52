#include "engine/SetRepair.h"

#include <gtest/gtest.h>

#include "support/FakeClock.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

// Each listed name the repair at start takes off the list, or gives to a section, has its record.
TEST(SetRepairTest, EachNameTheRepairTouchesIsLogged) {
    test::TempDir dir;
    test::FakeClock clock{test::at(6, 12, 2026, 19, 30, 5, 0)};
    test::writeBytes(dir / kSetNameFileName,
                     "[SICHERUNG]\r\nname_1=Alt\r\nname_2=X\r\n\r\n[NUMMER]\r\nwert=2\r\n");
    test::writeBytes(dir / kSetFileName, "[Neu]\r\nvon_0=/q\r\nnach=/z\r\n");
    BackupSetStore sets(dir.path());
    RunLog log(dir.path(), clock);

    ASSERT_TRUE(repairStoredSets(sets, log));
    EXPECT_EQ(sets.loadSetNames().names, std::vector<std::string>{"Neu"});
    const std::string text = log.LoadLogText();
    EXPECT_NE(
        text.find("Sicherung=beim Start entfernt (Einstellungen fehlten)\nName=X\nVerlauf=error"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("Sicherung=beim Start wiederhergestellt\nName=Neu\nVerlauf=ok"),
              std::string::npos)
        << text;
}

}  // namespace
}  // namespace vaultrix
