#include "engine/CountingWalk.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "support/TempDir.h"

namespace vaultrix {
namespace {

namespace stdfs = std::filesystem;
using test::makeLink;
using test::TempDir;
using test::writeBytes;

// What the copies of a run have done when they are through.
CopyProgress copied(const std::vector<std::string>& sources, const stdfs::path& destination) {
    struct Last final : CopyObserver {
        void onProgress(const CopyProgress& progress) override { last = progress; }
        bool cancelRequested() override { return false; }
        CopyProgress last;
    } observer;
    CopyProgress run;
    for (const std::string& source : sources) {
        observer.last = {};
        static_cast<void>(
            CopyToFolder(source, destination.string(), kCopyFlagsOverwrite, observer));
        run = {run.filesDone + observer.last.filesDone, run.bytesDone + observer.last.bytesDone};
    }
    return run;
}

TEST(CountingWalk, CountsWhatTheCopiesWillHaveDoneByTheirRules) {
    TempDir dir;
    const stdfs::path data = dir / "Daten";
    stdfs::create_directories(data / "Unter" / "Tiefer");
    writeBytes(data / ".versteckt", "hidden");
    writeBytes(data / "Unter" / "bild.raw", std::string(300'000, 'b'));
    writeBytes(data / "Unter" / "Tiefer" / "leer.bin", "");
    // Mostly a hole where the file system keeps one: the copy moves only its data.
    writeBytes(data / "lücke.bin", "x");
    stdfs::resize_file(data / "lücke.bin", 8 << 20);
    writeBytes(dir / "brief.txt", "Brief");
    CopyProgress expected{5, 6 + 300'000 + (8 << 20) + 5};
    if (makeLink("Unter/bild.raw", data / "verweis").empty()) ++expected.filesDone;
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((data / "rohr").c_str(), 0600), 0);
#endif
    // The backup lands inside the first source.
    const stdfs::path destination = data / "Sicherung";
    const std::vector<std::string> sources{data.string(), (dir / "brief.txt").string(),
                                           (dir / "fehlt").string()};

    EXPECT_EQ(countSources(sources, destination.string(), {}), expected);
    EXPECT_EQ(copied(sources, destination), expected);
    // Now that the backup is inside the source it is left out, and so is a source that is the
    // destination itself.
    std::vector<std::string> again = sources;
    again.push_back(destination.string());
    EXPECT_EQ(countSources(again, destination.string(), {}), expected);
    // A repeat run leaves the unchanged files alone and counts them as done at once.
    EXPECT_EQ(copied(again, destination), expected);

    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(countSources(sources, destination.string(), stop.get_token()), std::nullopt);
}

TEST(CountingWalk, AStopInsideAFolderEndsTheWalkThere) {
    TempDir dir;
    const stdfs::path large = dir / "Gross";
    stdfs::create_directory(large);
    for (int i = 0; i < 100; ++i) writeBytes(large / ("datei" + std::to_string(i)), "x");
    writeBytes(dir / "brief.txt", "Brief");
    // Asked before each source and at every entry: the tenth question comes inside the folder.
    int asked = 0;
    const auto stopAtTheTenth = [&asked] { return ++asked >= 10; };

    EXPECT_EQ(countSourcesUntil({large.string(), (dir / "brief.txt").string()},
                                (dir / "Ziel").string(), stopAtTheTenth),
              std::nullopt);
    // Not the folder's hundred entries, and nothing of the source after it.
    EXPECT_LT(asked, 20);
}

}  // namespace
}  // namespace vaultrix
