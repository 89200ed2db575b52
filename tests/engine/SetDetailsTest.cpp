#include "engine/SetDetails.h"

#include <gtest/gtest.h>

#include <set>

#include "support/TempDir.h"

namespace vaultrix {
namespace {

class SetDetailsTest : public ::testing::Test {
protected:
    SetDetailsTest() {
        test::writeBytes(data_ / kSetFileName,
                         "[Tag]\r\nvon_0=/daten\r\nvon_1=/briefe/brief.doc\r\nnach=/sicherung\r\n"
                         "wann=t\xE4glich\r\nzeit=18:30\r\naktiv=Ja\r\n\r\n"
                         "[Leer]\r\nnach=\r\n\r\n"
                         "[Kaputt]\r\nnach=/sicherung\r\nzeit=24:00\r\naktiv=ja\r\n\r\n"
                         "[Ruht]\r\nnach=/sicherung\r\nzeit=69\r\naktiv=nein\r\n");
    }

    // The details and the warning the answers of `existing_` give.
    struct Shown {
        std::string text;
        std::string missingMessage;
    };
    Shown details(const std::string& name) {
        const SetDetailsTexts texts = setDetailsTexts(sets_, name);
        std::vector<bool> reachable;
        for (const std::string& path : texts.paths) reachable.push_back(existing_.count(path) > 0);
        return {texts.text, missingPathsMessage(name, texts.paths, reachable)};
    }

    test::TempDir data_;
    BackupSetStore sets_{data_.path()};
    std::set<std::string> existing_{"/daten", "/briefe/brief.doc", "/sicherung"};
};

TEST_F(SetDetailsTest, ShowsEveryStoredValueAsStored) {
    const Shown texts = details("Tag");
    EXPECT_EQ(texts.text,
              "Sicherungsname: Tag\n\n"
              "von: /daten\nvon: /briefe/brief.doc\n"
              "\nnach: /sicherung\n\n"
              "wann: täglich\nZeit: 18:30\naktiv: Ja\n");
    EXPECT_EQ(texts.missingMessage, "");
}

TEST_F(SetDetailsTest, ListsUnreachableSourcesAndDestination) {
    existing_ = {"/daten"};
    const Shown texts = details("Tag");
    EXPECT_EQ(texts.missingMessage,
              "Pfad existiert nicht\noder Netzlaufwerk ist nicht verbunden !\n\n"
              "Sicherungsname: Tag\n\n"
              "von: /briefe/brief.doc\n"
              "\n\nnach: /sicherung");
}

TEST_F(SetDetailsTest, DisconnectedDestinationEndsTheMessage) {
    existing_.erase("/sicherung");
    const Shown texts = details("Tag");
    EXPECT_NE(texts.text.find("\nnach: /sicherung\n\n"), std::string::npos);
    EXPECT_EQ(texts.missingMessage,
              "Pfad existiert nicht\noder Netzlaufwerk ist nicht verbunden !\n\n"
              "Sicherungsname: Tag\n\n\n\nnach: /sicherung");
}

TEST_F(SetDetailsTest, SetWithoutValuesShowsEmptyFields) {
    const Shown texts = details("Leer");
    EXPECT_EQ(texts.text, "Sicherungsname: Leer\n\n\nnach: \n\nwann: \nZeit: \naktiv: \n");
    EXPECT_EQ(texts.missingMessage,
              "Pfad existiert nicht\noder Netzlaufwerk ist nicht verbunden !\n\n"
              "Sicherungsname: Leer\n\n\n\nnach: ");
}

TEST_F(SetDetailsTest, AnActiveSetWithAnInvalidTimeSaysItNeverRuns) {
    EXPECT_NE(
        details("Kaputt").text.find(
            "Zeit: 24:00 (ungültige Uhrzeit, die Sicherung wird nie ausgeführt)\naktiv: ja\n"),
        std::string::npos);
    EXPECT_NE(details("Ruht").text.find("Zeit: 69\naktiv: nein\n"), std::string::npos);
}

}  // namespace
}  // namespace vaultrix
