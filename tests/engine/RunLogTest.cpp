#include <gtest/gtest.h>

#include <thread>

#include "engine/RunLog.h"
#include "support/FakeClock.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

using test::at;
using test::FakeClock;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

// One record as the log stores it: 63 bytes plus the length of the name.
std::string record(const std::string& header, const std::string& name,
                   const std::string& action = "gestartet", const std::string& result = "ok") {
    return header + "\r\nSicherung=" + action + "\r\nName=" + name + "\r\nVerlauf=" + result +
           "\r\n";
}

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) {
        ++count;
    }
    return count;
}

class RunLogTest : public ::testing::Test {
protected:
    TempDir dir;
    FakeClock clock{at(6, 12, 2026, 19, 30, 5, 0)};
    RunLog log{dir.path(), clock};
    std::filesystem::path file = dir / kLogFileName;
};

TEST_F(RunLogTest, RecordsAreSectionsAddedAtTheEnd) {
    ASSERT_TRUE(log.AppendRecord(kResultOk, "Daten", kActionStarted));
    EXPECT_EQ(readBytes(file), record("[06.12.2026 19:30:05]", "Daten"));

    clock.set(at(7, 1, 2027, 8, 0, 0, 4));
    ASSERT_TRUE(log.AppendRecord(kResultOk, "Größe", kActionDeleted));
    EXPECT_EQ(readBytes(file), record("[06.12.2026 19:30:05]", "Daten") + "\r\n" +
                                   record("[07.01.2027 08:00:00]",
                                          "Gr\xF6\xDF"
                                          "e",
                                          "gel\xF6scht"));
}

TEST_F(RunLogTest, RecordsInTheSameSecondStaySeparate) {
    ASSERT_TRUE(log.AppendRecord(kResultOk, "Tag", kActionStarted));
    ASSERT_TRUE(log.AppendRecord(kResultError, "Woche", kActionStarted));
    const std::string header = "[06.12.2026 19:30:05]";
    EXPECT_EQ(readBytes(file),
              record(header, "Tag") + "\r\n" + record(header, "Woche", "gestartet", "error"));
}

TEST_F(RunLogTest, AFileOfExactly4200BytesIsLeftAlone) {
    const std::string old = record("[01.01.2026 00:00:00]", std::string(4067, 'a'));
    writeBytes(file, old);
    ASSERT_TRUE(log.AppendRecord(kResultOk, "Daten", kActionStarted));
    const auto bytes = readBytes(file);
    EXPECT_EQ(bytes.size(), 4200u);
    EXPECT_EQ(bytes, old + "\r\n" + record("[06.12.2026 19:30:05]", "Daten"));
}

TEST_F(RunLogTest, OneByteMoreRemovesTheOldestRecord) {
    writeBytes(file, record("[01.01.2026 00:00:00]", std::string(4068, 'a')));
    ASSERT_TRUE(log.AppendRecord(kResultOk, "Daten", kActionStarted));
    EXPECT_EQ(readBytes(file), record("[06.12.2026 19:30:05]", "Daten"));
}

TEST_F(RunLogTest, TrimmingRemovesOldestRecordsOneAtATimeUntilTheLogFits) {
    const std::string first = record("[01.01.2026 00:00:01]", std::string(2000, '1'));
    const std::string second = record("[01.01.2026 00:00:02]", std::string(2000, '2'));
    const std::string third = record("[01.01.2026 00:00:03]", std::string(2000, '3'));
    writeBytes(file, first + "\r\n" + second + "\r\n" + third);
    ASSERT_TRUE(log.TrimLog());
    EXPECT_EQ(readBytes(file), second + "\r\n" + third);

    writeBytes(file, first + "\r\n" + second + "\r\n" + third + "\r\n" + second);
    ASSERT_TRUE(log.TrimLog());
    EXPECT_EQ(readBytes(file), third + "\r\n" + second);
}

TEST_F(RunLogTest, ALargeLogIsTrimmedToItsNewestWholeRecords) {
    const std::string size =
        "Gr\xF6\xDF"
        "e";  // one byte per letter in the file
    const std::string oldHeader = "[01.01.2026 00:00:00]";
    std::string old;
    for (int i = 0; i < 20000; ++i) {
        old += (i > 0 ? "\r\n" : "") + record(oldHeader, size + std::to_string(100000 + i));
    }
    writeBytes(file, old);
    ASSERT_TRUE(log.AppendRecord(kResultOk, "Größe", kActionStarted));
    const auto bytes = readBytes(file);
    const auto whole = old + "\r\n" + record("[06.12.2026 19:30:05]", size);
    const auto oneRecord = record(oldHeader, size + "100000").size() + 2;
    EXPECT_LE(bytes.size(), 4200u);
    EXPECT_GT(bytes.size() + oneRecord, 4200u);
    EXPECT_TRUE(bytes.starts_with(oldHeader + "\r\nSicherung=gestartet\r\n"));
    EXPECT_TRUE(whole.ends_with(bytes));
}

TEST_F(RunLogTest, TrimmingStopsAtAFirstLineThatIsNoHeader) {
    // A load drops only the first of two leading empty lines, so the second is the first line.
    for (const std::string front : {"Müll\r\n", "\r\n\r\n"}) {
        const std::string damaged = front + record("[01.01.2026 00:00:01]", std::string(5000, 'x'));
        writeBytes(file, damaged);
        ASSERT_TRUE(log.TrimLog());
        EXPECT_EQ(readBytes(file), damaged) << front.size();
    }
    // An append rewrites the log, and the rewrite reads back from the header on.
    ASSERT_TRUE(log.AppendRecord(kResultOk, "Daten", kActionStarted));
    EXPECT_EQ(readBytes(file), record("[06.12.2026 19:30:05]", "Daten"));
}

// A line break would forge record lines; it is refused whether or not the log is trimmed.
TEST_F(RunLogTest, TextWithALineBreakIsRefusedOnEveryPath) {
    ASSERT_TRUE(log.AppendRecord(kResultOk, "Daten", kActionStarted));
    const auto small = readBytes(file);
    EXPECT_FALSE(log.AppendRecord(kResultOk, "Daten\nVerlauf=ok", kActionStarted));
    EXPECT_EQ(readBytes(file), small);

    writeBytes(file, record("[01.01.2026 00:00:00]", std::string(4100, 'a')));
    const auto large = readBytes(file);
    EXPECT_FALSE(log.AppendRecord(kResultOk, "Daten\n[01.01.2026 00:00:00]", kActionStarted));
    EXPECT_FALSE(log.AppendRecord("ok\r", "Daten", kActionStarted));
    EXPECT_FALSE(log.AppendRecord(kResultOk, "Daten", "neu\nName=x"));
    // So is a text Windows-1252 cannot hold, also in a record that the trim would remove whole.
    std::string cyrillic;
    while (cyrillic.size() < 4400) {
        cyrillic += "Ж";
    }
    EXPECT_FALSE(log.AppendRecord(kResultOk, cyrillic, kActionStarted));
    EXPECT_EQ(readBytes(file), large);
}

TEST_F(RunLogTest, TwoThreadsAppendingLoseNoRecord) {
    constexpr int kEach = 25;  // 50 records stay below the size limit
    const auto append = [this](const std::string& name) {
        for (int i = 0; i < kEach; ++i) {
            ASSERT_TRUE(log.AppendRecord(kResultOk, name, kActionStarted));
        }
    };
    std::thread first(append, "A");
    std::thread second(append, "B");
    first.join();
    second.join();
    const auto bytes = readBytes(file);
    EXPECT_EQ(occurrences(bytes, "[06.12.2026 19:30:05]\r\nSicherung=gestartet\r\nName=A\r\n"),
              kEach);
    EXPECT_EQ(occurrences(bytes, "[06.12.2026 19:30:05]\r\nSicherung=gestartet\r\nName=B\r\n"),
              kEach);
}

TEST_F(RunLogTest, LoadAndDelete) {
    EXPECT_EQ(log.LoadLogText(), "");
    EXPECT_TRUE(log.DeleteLog());

    ASSERT_TRUE(log.AppendRecord(kResultOk, "Daten", kActionDeleted));
    EXPECT_EQ(log.LoadLogText(),
              "[06.12.2026 19:30:05]\nSicherung=gelöscht\nName=Daten\nVerlauf=ok\n");
    ASSERT_TRUE(log.DeleteLog());
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(log.LoadLogText(), "");
}

TEST_F(RunLogTest, ALogThatCannotBeReadIsNotOverwritten) {
    std::filesystem::create_directory(file);
    EXPECT_FALSE(log.AppendRecord(kResultOk, "Daten", kActionStarted));
    EXPECT_TRUE(std::filesystem::is_directory(file));
    EXPECT_EQ(log.LoadLogText(), "");
}

}  // namespace
}  // namespace vaultrix
