#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "store/BackupSetStore.h"
#include "store/LineList.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;
using Sources = std::map<std::string, std::vector<std::string>>;

BackupSet makeSet(const std::string& name, std::vector<std::string> sources) {
    return BackupSet{name, std::move(sources), "/ziel/" + name, "Montag", "07:00", true};
}

// One change of the sets and the sources of every set before and after it.
struct Change {
    std::string name;
    std::function<Result<>(BackupSetStore&)> run;
    Sources after;
};

// Three sets A, B, C; every change touches B (or adds D) and may be stopped after any file it
// has replaced, as a crash would stop it.
class SetFilesCrashTest : public ::testing::Test {
protected:
    SetFilesCrashTest() {
        BackupSetStore store(dir.path());
        for (const auto& [name, sources] : before) {
            EXPECT_TRUE(store.saveNewSet(makeSet(name, sources)));
        }
        namesBefore = readBytes(dir / kSetNameFileName);
        setsBefore = readBytes(dir / kSetFileName);
    }

    void restart() const {
        writeBytes(dir / kSetNameFileName, namesBefore);
        writeBytes(dir / kSetFileName, setsBefore);
    }

    // Runs the change with a hook that answers `at` for the file step `step` (counted from 1)
    // and goes on otherwise (step 0: always); returns the number of file steps made.
    int runStopping(const Change& change, int step, AfterFileStep at) const {
        BackupSetStore store(dir.path());
        int steps = 0;
        store.setFileStepHook([&](const std::filesystem::path&) {
            return ++steps == step ? at : AfterFileStep::proceed;
        });
        const Result<> result = change.run(store);
        EXPECT_EQ(result.ok(), step == 0) << change.name << " step " << step;
        return steps;
    }

    // Every listed name has its section, the count agrees, and the sources of all sets are
    // those before the change or those after it; once repaired, every section is listed too.
    void expectWhole(const Change& change, const std::string& where, bool repaired = true) const {
        BackupSetStore store(dir.path());
        const SetNames names = store.loadSetNames();
        EXPECT_EQ(names.count, static_cast<int>(names.names.size())) << where;
        Sources stored;
        for (const auto& name : names.names) {
            const StoredSet set = store.loadStoredSet(name);
            EXPECT_TRUE(set.hasSection) << where << ": " << name;
            stored[name] = set.set.sources;
        }
        EXPECT_TRUE(stored == before || stored == change.after) << where;
        const LineList sets = LineList::parse(readBytes(dir / kSetFileName));
        for (const auto& line : sets.lines()) {
            if (repaired && line.starts_with('[')) {
                EXPECT_TRUE(stored.contains(line.substr(1, line.size() - 2)))
                    << where << ": " << line;
            }
        }
    }

    TempDir dir;
    const Sources before{{"A", {"/a0", "/a1"}}, {"B", {"/b0", "/b1"}}, {"C", {"/c0"}}};
    std::string namesBefore;
    std::string setsBefore;
    const std::vector<Change> changes{
        {"new",
         [](BackupSetStore& s) { return s.saveNewSet(makeSet("D", {"/d0"})); },
         {{"A", {"/a0", "/a1"}}, {"B", {"/b0", "/b1"}}, {"C", {"/c0"}}, {"D", {"/d0"}}}},
        {"edit",
         [](BackupSetStore& s) { return s.saveEditedSet("B", makeSet("B", {"/neu"})); },
         {{"A", {"/a0", "/a1"}}, {"B", {"/neu"}}, {"C", {"/c0"}}}},
        {"edit and rename",
         [](BackupSetStore& s) { return s.saveEditedSet("B", makeSet("Neu", {"/neu"})); },
         {{"A", {"/a0", "/a1"}}, {"Neu", {"/neu"}}, {"C", {"/c0"}}}},
        {"rename",
         [](BackupSetStore& s) { return s.renameStoredSet("B", "Neu"); },
         {{"A", {"/a0", "/a1"}}, {"Neu", {"/b0", "/b1"}}, {"C", {"/c0"}}}},
        {"delete",
         [](BackupSetStore& s) { return s.deleteStoredSet("B"); },
         {{"A", {"/a0", "/a1"}}, {"C", {"/c0"}}}},
    };
};

TEST_F(SetFilesCrashTest, ACrashAfterAnyFileStepLeavesEverySetWholeOnceRepaired) {
    for (const Change& change : changes) {
        restart();
        const int steps = runStopping(change, 0, AfterFileStep::proceed);
        // Each file once, and "save.ini" twice for a rename.
        EXPECT_EQ(steps, change.name.find("rename") != std::string::npos ? 3 : 2) << change.name;
        for (int step = 1; step <= steps; ++step) {
            const std::string where =
                change.name + ", crash after file step " + std::to_string(step);
            restart();
            runStopping(change, step, AfterFileStep::stop);
            expectWhole(change, where, false);
            const Result<SetRepair> repair = BackupSetStore(dir.path()).repairSetFiles();
            ASSERT_TRUE(repair) << where;
            // Only a leftover section to remove: no listed name ever lacks its section.
            EXPECT_TRUE(repair.value().dropped.empty() && repair.value().restored.empty()) << where;
            EXPECT_LE(repair.value().removed.size(), 1u) << where;
            expectWhole(change, where);

            // The repair itself stopped after its first file step, then run again.
            restart();
            runStopping(change, step, AfterFileStep::stop);
            BackupSetStore interrupted(dir.path());
            interrupted.setFileStepHook(
                [](const std::filesystem::path&) { return AfterFileStep::stop; });
            (void)interrupted.repairSetFiles();
            ASSERT_TRUE(BackupSetStore(dir.path()).repairSetFiles()) << where;
            expectWhole(change, where + ", repair interrupted");
        }
    }
}

TEST_F(SetFilesCrashTest, AFailedWriteAtAnyStepLeavesBothFilesAsTheyWere) {
    for (const Change& change : changes) {
        restart();
        const int steps = runStopping(change, 0, AfterFileStep::proceed);
        for (int step = 1; step <= steps; ++step) {
            restart();
            runStopping(change, step, AfterFileStep::fail);
            EXPECT_EQ(readBytes(dir / kSetNameFileName), namesBefore) << change.name << " " << step;
            EXPECT_EQ(readBytes(dir / kSetFileName), setsBefore) << change.name << " " << step;
        }
    }
}

// Files no crash of this program leaves, as an earlier program or a hand left them.
class SetRepairTest : public ::testing::Test {
protected:
    void write(const std::string& names, const std::string& sets) const {
        writeBytes(dir / kSetNameFileName,
                   "[SICHERUNG]\r\n" + names + "\r\n[NUMMER]\r\nwert=3\r\n");
        writeBytes(dir / kSetFileName, sets);
    }
    std::vector<std::string> listed() const {
        return BackupSetStore(dir.path()).loadSetNames().names;
    }

    TempDir dir;
    const std::string a = "[A]\r\nvon_0=/a\r\nnach=/z\r\n\r\n";
    const std::string c = "[C]\r\nvon_0=/c\r\nnach=/z\r\n\r\n";
};

// A rename that wrote "save.ini" first and was stopped there: the old name is listed without a
// section, the new one has the set's section without being listed. The new name takes the old
// one's number, with the set's sources.
TEST_F(SetRepairTest, AHalfDoneRenameIsCompletedAndAListedNameWithoutSectionIsDropped) {
    write("name_3=C\r\nname_2=Alt\r\nname_1=A\r\n",
          a + "[Neu]\r\nvon_0=/alt\r\nnach=/z\r\n\r\n" + c);
    auto repair = BackupSetStore(dir.path()).repairSetFiles();
    ASSERT_TRUE(repair);
    EXPECT_EQ(repair.value().restored,
              (std::vector<std::pair<std::string, std::string>>{{"Alt", "Neu"}}));
    EXPECT_EQ(listed(), (std::vector<std::string>{"A", "Neu", "C"}));
    EXPECT_EQ(BackupSetStore(dir.path()).loadSet("Neu").sources, std::vector<std::string>{"/alt"});

    write("name_3=C\r\nname_2=X\r\nname_1=A\r\n", a + c);
    repair = BackupSetStore(dir.path()).repairSetFiles();
    ASSERT_TRUE(repair);
    EXPECT_EQ(repair.value().dropped, std::vector<std::string>{"X"});
    EXPECT_EQ(listed(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(BackupSetStore(dir.path()).loadSetNames().count, 2);
    EXPECT_EQ(readBytes(dir / kSetFileName), a + c);
}

// Several unlisted sections (a lost names file, say) are no leftover of one change and keep
// their sources; a name behind a gap in the numbers is no leftover either; files that agree, or
// are missing, are not touched.
TEST_F(SetRepairTest, SeveralUnlistedSectionsAndAgreeingFilesStayAsTheyAre) {
    const std::string names = "[SICHERUNG]\r\nname_1=A\r\nname_3=C\r\n";
    for (const std::string& sets : {a + c + "[D]\r\nvon_0=/d\r\n\r\n[E]\r\nvon_0=/e\r\n", a + c}) {
        writeBytes(dir / kSetNameFileName, names);
        writeBytes(dir / kSetFileName, sets);
        const auto repair = BackupSetStore(dir.path()).repairSetFiles();
        ASSERT_TRUE(repair);
        EXPECT_TRUE(repair.value().removed.empty());
        EXPECT_EQ(readBytes(dir / kSetNameFileName), names);
        EXPECT_EQ(readBytes(dir / kSetFileName), sets);
    }
    TempDir empty;
    ASSERT_TRUE(BackupSetStore(empty.path()).repairSetFiles());
    EXPECT_TRUE(std::filesystem::is_empty(empty.path()));
}

}  // namespace
}  // namespace vaultrix
