#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "store/KeyedTextFile.h"
#include "support/TempDir.h"

#if !defined(_WIN32)
#include <sys/resource.h>

#include <csignal>
#endif

namespace vaultrix {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

class KeyedTextFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path file = dir / "x.ini";

    // Files in the folder besides the one under test (a left-over temporary file shows here).
    int otherFiles() const {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            count += entry.path() != file ? 1 : 0;
        }
        return count;
    }
};

TEST_F(KeyedTextFileTest, WorkedExampleByteForByte) {
    ASSERT_TRUE(KeyedTextFile::writeEntry(file, "[A]", "k=1"));
    EXPECT_EQ(readBytes(file), "[A]\r\nk=1");
    ASSERT_TRUE(KeyedTextFile::writeEntry(file, "[A]", "m=2"));
    EXPECT_EQ(readBytes(file), "[A]\r\nm=2\r\nk=1\r\n");
    ASSERT_TRUE(KeyedTextFile::writeEntry(file, "[B]", "z=9"));
    EXPECT_EQ(readBytes(file), "[A]\r\nm=2\r\nk=1\r\n\r\n[B]\r\nz=9");
    ASSERT_TRUE(KeyedTextFile::writeEntry(file, "[A]", "k=7"));
    EXPECT_EQ(readBytes(file), "[A]\r\nm=2\r\nk=7\r\n\r\n[B]\r\nz=9\r\n");
    EXPECT_EQ(KeyedTextFile::readValue(file, "[B]", "k="), "");
    EXPECT_EQ(readBytes(file), "[A]\r\nm=2\r\nk=7\r\n\r\n[B]\r\nz=9\r\n");
    const auto removal = KeyedTextFile::deleteEntry(file, "[A]", "m=");
    ASSERT_TRUE(removal);
    EXPECT_EQ(removal.value(), Removal::removed);
    EXPECT_EQ(readBytes(file), "[A]\r\nk=7\r\n\r\n[B]\r\nz=9\r\n");
    EXPECT_EQ(otherFiles(), 0);
}

TEST_F(KeyedTextFileTest, MissingFile) {
    EXPECT_EQ(KeyedTextFile::readValue(file, "[A]", "k="), "");
    EXPECT_FALSE(std::filesystem::exists(file));

    const auto removal = KeyedTextFile::deleteEntry(file, "[A]", "k=");
    ASSERT_TRUE(removal);
    EXPECT_EQ(removal.value(), Removal::notFound);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(readBytes(file), "");

    std::filesystem::remove(file);
    ASSERT_TRUE(KeyedTextFile::replaceLine(file, "[A]", "[B]"));
    EXPECT_EQ(readBytes(file), "");
}

TEST_F(KeyedTextFileTest, SearchRules) {
    writeBytes(file, "[A]\r\na=b=c\r\nname_10=X\r\nName=Y\r\n\r\n[B]\r\nname_1=Z\r\n");
    EXPECT_EQ(KeyedTextFile::readValue(file, "[A]", "a="), "b=c");
    EXPECT_EQ(KeyedTextFile::readValue(file, "[A]", "name_1="), "");
    EXPECT_EQ(KeyedTextFile::readValue(file, "[A]", "name="), "");
    EXPECT_EQ(KeyedTextFile::readValue(file, "[a]", "a="), "");
    EXPECT_EQ(KeyedTextFile::readValue(file, "[A] ", "a="), "");
    EXPECT_EQ(KeyedTextFile::readValue(file, "[B]", "name_1="), "Z");
}

TEST_F(KeyedTextFileTest, DeletingWithTheEmptyKeyAndDeletingAHeader) {
    writeBytes(file, "[A]\r\nk=1\r\n\r\n[B]\r\nz=9\r\n");
    auto removal = KeyedTextFile::deleteEntry(file, "[A]", "");
    ASSERT_TRUE(removal);
    EXPECT_EQ(removal.value(), Removal::removed);
    EXPECT_EQ(readBytes(file), "[A]\r\nk=1\r\n[B]\r\nz=9\r\n");

    removal = KeyedTextFile::deleteEntry(file, "[A]", "");
    ASSERT_TRUE(removal);
    EXPECT_EQ(removal.value(), Removal::notFound);

    removal = KeyedTextFile::deleteSectionHeader(file, "[B]");
    ASSERT_TRUE(removal);
    EXPECT_EQ(removal.value(), Removal::removed);
    EXPECT_EQ(readBytes(file), "[A]\r\nk=1\r\nz=9\r\n");
    EXPECT_EQ(KeyedTextFile::readValue(file, "[A]", "z="), "9");
}

TEST_F(KeyedTextFileTest, FirstEmptyLineIsLostOnRewrite) {
    writeBytes(file, "\r\n[A]\r\nk=1");
    ASSERT_TRUE(KeyedTextFile::replaceLine(file, "k=1", "k=2"));
    EXPECT_EQ(readBytes(file), "[A]\r\nk=2\r\n");
}

TEST_F(KeyedTextFileTest, LongLinesAndEveryByteValueSurviveARewrite) {
    std::string text;
    for (int b = 0; b < 256; ++b) {
        if (b != '\n' && b != '\r') {
            text += static_cast<char>(b);
        }
    }
    const std::string longLine = "lang=" + std::string(600, 'L') + "\xE4";
    const std::string original = "[A]\r\nbytes=" + text + "\r\n" + longLine + "\r\n";
    writeBytes(file, original);
    ASSERT_TRUE(KeyedTextFile::writeEntry(file, "[B]", "neu=1"));
    EXPECT_EQ(readBytes(file), original + "\r\n[B]\r\nneu=1");
    EXPECT_EQ(KeyedTextFile::readValue(file, "[A]", "lang=").size(), 600u + 2u);
}

TEST_F(KeyedTextFileTest, UmlautsAreStoredAsSingleBytes) {
    ASSERT_TRUE(KeyedTextFile::writeEntry(file, "[Größe]", "wann=täglich"));
    EXPECT_EQ(readBytes(file),
              "[Gr\xF6\xDF"
              "e]\r\nwann=t\xE4glich");
    EXPECT_EQ(KeyedTextFile::readValue(file, "[Größe]", "wann="), "täglich");
}

TEST_F(KeyedTextFileTest, AFileSavedAsUtf8IsReadAsUtf8AndWrittenBackAsWindows1252) {
    for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
        writeBytes(file, bom + "[Tag]\r\nwann=t\xC3\xA4glich\r\n");
        EXPECT_EQ(KeyedTextFile::readValue(file, "[Tag]", "wann="), "täglich") << bom.size();
        ASSERT_TRUE(KeyedTextFile::writeEntry(file, "[Tag]", "aktiv=ja"));
        EXPECT_EQ(readBytes(file), "[Tag]\r\naktiv=ja\r\nwann=t\xE4glich\r\n");
    }
    // A byte-order mark before plain ASCII still lets the first header be found.
    writeBytes(file, "\xEF\xBB\xBF[Tag]\r\nzeit=18:30\r\n");
    EXPECT_EQ(KeyedTextFile::readValue(file, "[Tag]", "zeit="), "18:30");
}

// Text from a file saved as UTF-8 that its Windows-1252 bytes would not give back is never
// written: the file stays as it was. With another byte that is no UTF-8 beside it, the same text
// reads back, so it is written.
TEST_F(KeyedTextFileTest, AWriteThatWouldNotReadBackIsRefused) {
    const std::string original = "[A]\r\nk=\xC3\x83\xC2\xA4\r\n";
    writeBytes(file, original);
    EXPECT_EQ(KeyedTextFile::readValue(file, "[A]", "k="), "Ã¤");
    const auto refused = KeyedTextFile::writeEntry(file, "[A]", "m=1");
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().message.ends_with(
        "x.ini' enthält die Zeichenfolge „Ã¤“, die nach dem Speichern als „ä“ gelesen würde, und "
        "kann so nicht gespeichert werden."));
    EXPECT_EQ(readBytes(file), original);
    EXPECT_EQ(otherFiles(), 0);

    ASSERT_TRUE(KeyedTextFile::writeEntry(file, "[A]", "m=täglich"));
    EXPECT_EQ(readBytes(file), "[A]\r\nm=t\xE4glich\r\nk=\xC3\xA4\r\n");
    EXPECT_EQ(KeyedTextFile::readValue(file, "[A]", "k="), "Ã¤");
}

TEST_F(KeyedTextFileTest, RefusedWritesLeaveTheFileAsItWas) {
    const std::string original = "[A]\r\nk=1\r\n";
    writeBytes(file, original);

    const auto cyrillic = KeyedTextFile::writeEntry(file, "[A]", "k=Привет");
    EXPECT_FALSE(cyrillic);
    EXPECT_FALSE(cyrillic.error().message.empty());
    EXPECT_FALSE(KeyedTextFile::writeEntry(file, "[A]", "k=a\nb"));
    EXPECT_EQ(readBytes(file), original);
    EXPECT_EQ(otherFiles(), 0);
}

TEST_F(KeyedTextFileTest, AFileThatCannotBeReadIsNeverOverwritten) {
    std::filesystem::create_directory(file);
    EXPECT_FALSE(KeyedTextFile::load(file));
    EXPECT_FALSE(KeyedTextFile::writeEntry(file, "[A]", "k=1"));
    EXPECT_FALSE(KeyedTextFile::deleteEntry(file, "[A]", "k="));
    EXPECT_TRUE(std::filesystem::is_directory(file));
    EXPECT_EQ(KeyedTextFile::readValue(file, "[A]", "k="), "");
}

TEST_F(KeyedTextFileTest, AWriteIntoAMissingFolderFailsAndCreatesNothing) {
    const auto inMissing = dir / "fehlt" / "x.ini";
    const auto result = KeyedTextFile::writeEntry(inMissing, "[A]", "k=1");
    ASSERT_FALSE(result);
    EXPECT_FALSE(result.error().message.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "fehlt"));
}

// A disk that fills up in the middle of a rewrite, simulated with the process's file size
// limit (permission bits would not stop the root user the tests may run as).
TEST_F(KeyedTextFileTest, ARewriteThatFailsMidwayLeavesTheOldFile) {
#ifdef _WIN32
    GTEST_SKIP() << "a full disk is played by the POSIX file size limit, which Windows lacks";
#else
    const std::string original = "[A]\r\nk=1\r\n";
    writeBytes(file, original);

    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto result = KeyedTextFile::writeEntry(file, "[A]", "k=" + std::string(20000, 'x'));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousSignal);

    ASSERT_FALSE(result);
    EXPECT_EQ(readBytes(file), original);
    EXPECT_EQ(otherFiles(), 0);
#endif
}

TEST_F(KeyedTextFileTest, AFileThatIsALinkStaysALinkAndItsTargetIsRewritten) {
    std::filesystem::create_directory(dir / "echt");
    const auto target = dir / "echt" / "x.ini";
    writeBytes(target, "[A]\r\nk=1\r\n");
    if (const std::string why = test::makeLink("echt/x.ini", file); !why.empty())
        GTEST_SKIP() << why;
    ASSERT_TRUE(KeyedTextFile::writeEntry(file, "[A]", "k=2"));
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(readBytes(target), "[A]\r\nk=2\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "echt"), {}), 1);

    // A link to a link to a file that does not exist yet: the file is created.
    std::filesystem::remove(file);
    ASSERT_EQ(test::makeLink(dir / "zwischen", file), "");
    ASSERT_EQ(test::makeLink(dir / "echt" / "neu.ini", dir / "zwischen"), "");
    ASSERT_TRUE(KeyedTextFile::writeEntry(file, "[B]", "z=9"));
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(readBytes(dir / "echt" / "neu.ini"), "[B]\r\nz=9");
}

TEST_F(KeyedTextFileTest, TwoThreadsNeverLoseOrTearAnUpdate) {
    constexpr int kRounds = 200;
    const auto increment = [this](const std::string& key) {
        for (int i = 0; i < kRounds; ++i) {
            ASSERT_TRUE(KeyedTextFile::change(file, [&](KeyedSteps& steps) {
                const auto total = steps.readValue("[Z]", "n=");
                const auto own = steps.readValue("[Z]", key);
                steps.writeEntry("[Z]",
                                 "n=" + std::to_string(total.empty() ? 1 : std::stoi(total) + 1));
                steps.writeEntry("[Z]", key + std::to_string(own.empty() ? 1 : std::stoi(own) + 1));
            }));
        }
    };
    std::atomic<bool> done{false};
    std::atomic<int> tornReads{0};
    std::thread reader([&] {
        while (!done) {
            const auto bytes = KeyedTextFile::readText(file);
            if (!bytes || (!bytes.value().empty() && !bytes.value().starts_with("[Z]\r\n"))) {
                ++tornReads;
            }
        }
    });
    std::thread first(increment, "a=");
    std::thread second(increment, "b=");
    first.join();
    second.join();
    done = true;
    reader.join();

    EXPECT_EQ(KeyedTextFile::readValue(file, "[Z]", "n="), std::to_string(2 * kRounds));
    EXPECT_EQ(KeyedTextFile::readValue(file, "[Z]", "a="), std::to_string(kRounds));
    EXPECT_EQ(KeyedTextFile::readValue(file, "[Z]", "b="), std::to_string(kRounds));
    EXPECT_EQ(tornReads, 0);
    EXPECT_EQ(otherFiles(), 0);
}

}  // namespace
}  // namespace vaultrix

namespace vaultrix {
namespace {

// Changes made as steps on one loaded list and saved once must leave the very bytes that the
// same changes leave as separate file operations, each reading back the previous one's file.
TEST(KeyedSteps, OneSaveEqualsSeparateRewrites) {
    test::TempDir dir;
    const auto separate = dir / "separate.ini";
    const auto batched = dir / "batched.ini";
    const std::string start = "\r\n\r\n[A]\r\nk=1\r\n\r\n[B]\r\nz=9\r\n\r\n";
    const char* sections[] = {"[A]", "[B]", "[C]"};
    const char* keys[] = {"k=", "m=", "", "z="};

    for (unsigned seed = 1; seed <= 20; ++seed) {
        test::writeBytes(separate, start);
        test::writeBytes(batched, start);
        auto loaded = KeyedTextFile::load(batched);
        ASSERT_TRUE(loaded);
        KeyedSteps steps(loaded.value());
        unsigned state = seed;
        const auto next = [&state](unsigned range) {
            state = state * 1103515245u + 12345u;
            return (state >> 16) % range;
        };
        for (int op = 0; op < 30; ++op) {
            const std::string section = sections[next(3)];
            const std::string key = keys[next(4)];
            const std::string entry = key + std::to_string(next(100));
            switch (next(4)) {
                case 0:
                    ASSERT_TRUE(KeyedTextFile::writeEntry(separate, section, entry));
                    steps.writeEntry(section, entry);
                    break;
                case 1: {
                    const auto removal = KeyedTextFile::deleteEntry(separate, section, key);
                    ASSERT_TRUE(removal);
                    EXPECT_EQ(steps.deleteEntry(section, key), removal.value());
                    break;
                }
                case 2: {
                    const auto removal = KeyedTextFile::deleteSectionHeader(separate, section);
                    ASSERT_TRUE(removal);
                    EXPECT_EQ(steps.deleteSectionHeader(section), removal.value());
                    break;
                }
                default:
                    EXPECT_EQ(steps.readValue(section, key),
                              KeyedTextFile::readValue(separate, section, key));
            }
        }
        steps.writeEntry("[C]", "neu=1");
        ASSERT_TRUE(KeyedTextFile::writeEntry(separate, "[C]", "neu=1"));
        EXPECT_EQ(steps.readValue("[C]", "neu="), "1");
        ASSERT_TRUE(KeyedTextFile::save(batched, steps.lines()));
        EXPECT_EQ(test::readBytes(batched), test::readBytes(separate)) << "seed " << seed;
    }
}

}  // namespace
}  // namespace vaultrix
