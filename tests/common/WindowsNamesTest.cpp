#include "common/WindowsNames.h"

#include <gtest/gtest.h>

namespace vaultrix {
namespace {

TEST(WindowsNames, DeviceNamesInAnyCaseAloneOrBeforeAnExtension) {
    for (const char* name : {"CON", "con", "Prn", "AUX", "nul", "NUL.txt", "nul.tar.gz", "CON .txt",
                             "COM1", "com9", "LPT1", "lpt9.log"}) {
        EXPECT_TRUE(isWindowsDeviceName(name)) << name;
    }
    for (const char* name : {"CONSOLE", "CON1", "COM0", "LPT0", "COM10", "xCON", "AUX_", "NULL",
                             "Konto", ".con", ""}) {
        EXPECT_FALSE(isWindowsDeviceName(name)) << name;
    }
}

TEST(WindowsNames, EachProblemHasItsReasonAndOrdinaryNamesHaveNone) {
    EXPECT_EQ(windowsNameProblem("a:b"),
              "Der Name „a:b“ enthält ein Zeichen, das Windows nicht erlaubt (\\ / : * ? \" < > "
              "|).");
    for (const char* name : {"a*", "?", "\"x\"", "<", ">", "a|b", "a\\b", "a/b"}) {
        EXPECT_NE(windowsNameProblem(name).find("enthält ein Zeichen"), std::string::npos) << name;
    }
    EXPECT_NE(windowsNameProblem("a\tb").find("Steuerzeichen"), std::string::npos);
    EXPECT_EQ(windowsNameProblem("Daten."),
              "Der Name „Daten.“ endet mit einem Punkt oder Leerzeichen, das Windows nicht "
              "erlaubt.");
    EXPECT_NE(windowsNameProblem("Daten ").find("endet mit"), std::string::npos);
    EXPECT_EQ(windowsNameProblem("nul.txt"),
              "Der Name „nul.txt“ ist unter Windows einem Gerät vorbehalten.");
    for (const char* name :
         {"Fuß–Ball", ".profile", "a.b", " vorne", "Datei (2).txt", "€ 100", ".", ".."}) {
        EXPECT_EQ(windowsNameProblem(name), "") << name;
    }
}

}  // namespace
}  // namespace vaultrix
