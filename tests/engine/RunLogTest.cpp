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

// What stands before the first record goes first, so a damaged log is trimmed like any other; a
// damaged log within the limit is left alone.
TEST_F(RunLogTest, WhatStandsBeforeTheFirstRecordIsTrimmedFirst) {
    const std::string newest = record("[01.01.2026 00:00:02]", "Daten");
    // A load drops only the first of two leading empty lines, so the second is the first line.
    for (const std::string front : {"Müll\r\n", "\r\n\r\n", "[Müll\r\nx=1\r\n\r\n"}) {
        writeBytes(file, front + newest);
        ASSERT_TRUE(log.TrimLog());
        EXPECT_EQ(readBytes(file), front + newest) << front;

        writeBytes(file, front + record("[01.01.2026 00:00:01]", std::string(5000, 'x')) + "\r\n" +
                             newest);
        ASSERT_TRUE(log.TrimLog());
        EXPECT_EQ(readBytes(file), newest) << front;
    }
    // Without any record header nothing can be trimmed; the next record ends the damage.
    const std::string damaged(1 << 20, 'x');
    writeBytes(file, damaged);
    ASSERT_TRUE(log.TrimLog());
    EXPECT_EQ(readBytes(file), damaged);
    ASSERT_TRUE(log.AppendRecord(kResultOk, "Daten", kActionStarted));
    EXPECT_EQ(readBytes(file), record("[06.12.2026 19:30:05]", "Daten"));
}

// A name from a hand-edited file may hold anything; its run's record is written all the same,
// with what could not be stored replaced, and a long name cut so the record stays in the log.
TEST_F(RunLogTest, EveryTextGetsItsRecord) {
    const std::string header = "[06.12.2026 19:30:05]";
    const auto appended = [&](const std::string& name, const std::string& stored) {
        std::filesystem::remove(file);
        ASSERT_TRUE(log.AppendRecord(kResultOk, name, kActionStarted)) << name;
        EXPECT_EQ(readBytes(file), record(header, stored)) << name;
    };
    appended("Daten\nVerlauf=ok", "Daten?Verlauf=ok");
    appended("a\tb\r\x7F\u0081c", "a?b???c");
    appended("Привет €", "?????? \x80");
    appended("Ã¤ Ã¼", "?\xA4 \xC3\xBC");
    appended("Fuß–Ball",
             "Fu\xDF\x96"
             "Ball");
    appended(std::string(200, 'n'), std::string(200, 'n'));
    appended(std::string(10000, 'n'), std::string(199, 'n') + "\x85");
    // The cut's "…" after "Ã" would read as "Å".
    appended(std::string(198, 'n') + "Ã" + std::string(9, 'n'), std::string(198, 'n') + "?\x85");
    // A record with the longest name stays far below the limit, beside the one before it.
    const std::string before = readBytes(file);
    ASSERT_TRUE(log.AppendRecord(kResultError, std::string(5000, 'n'), "neu\nName=x"));
    EXPECT_EQ(readBytes(file),
              before + "\r\n" +
                  record(header, std::string(199, 'n') + "\x85", "neu?Name=x", kResultError));
}

// Lines of a hand-edited log that could not be written back as they read are kept as record
// texts are, so the log takes further records.
TEST_F(RunLogTest, AHandEditedLogTakesFurtherRecords) {
    const std::string cyrillic = "\xEF\xBB\xBF[01.01.2026 00:00:00]\r\nName=\xD0\x96\r\n";
    const std::string lookalike = "[01.01.2026 00:00:00]\r\nName=\xC3\x83\xC2\xA4\r\n";
    for (const auto& [before, kept] : {std::pair{cyrillic, std::string("Name=?")},
                                       std::pair{lookalike, std::string("Name=?\xA4")}}) {
        writeBytes(file, before);
        ASSERT_TRUE(log.AppendRecord(kResultOk, "Daten", kActionStarted));
        EXPECT_EQ(readBytes(file), "[01.01.2026 00:00:00]\r\n" + kept + "\r\n\r\n" +
                                       record("[06.12.2026 19:30:05]", "Daten"));
    }
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
