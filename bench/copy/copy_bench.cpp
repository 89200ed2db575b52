// Runs one copy from the command line, for timing it against other tools:
//   copy_bench [--new-copy] [--count] [--workers=N] SOURCE DESTINATION
// With --count the counting walk of a run goes beside the copy on a thread of its own in the
// background, as in a backup run, and is stopped when the copy ends. --workers sets how many
// entries are written at once (the copy's own choice when not given). Prints the files and bytes
// done, what the walk counted (or that it was stopped first), and the peak resident memory;
// exit code 1 on failure.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "engine/CopyToFolder.h"
#include "engine/CountingWalk.h"
#include "platform/ThreadPriority.h"

namespace {

class CountingObserver final : public vaultrix::CopyObserver {
public:
    void onProgress(const vaultrix::CopyProgress& progress) override { last = progress; }
    bool cancelRequested() override { return false; }
    vaultrix::CopyProgress last;
};

class NoFaults final : public vaultrix::CopyFaults {
public:
    vaultrix::fs::OsCode afterChunk(const std::string&, std::uint64_t) override {
        return vaultrix::fs::kOsOk;
    }
};

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    unsigned flags = vaultrix::kCopyFlagsOverwrite;
    bool count = false;
    unsigned workers = vaultrix::kCopyWorkers;
    for (; first < argc && std::strncmp(argv[first], "--", 2) == 0; ++first) {
        if (std::strcmp(argv[first], "--new-copy") == 0) {
            flags = vaultrix::kCopyFlagsNewCopy;
        } else if (std::strcmp(argv[first], "--count") == 0) {
            count = true;
        } else if (std::strncmp(argv[first], "--workers=", 10) == 0) {
            workers = static_cast<unsigned>(std::strtoul(argv[first] + 10, nullptr, 10));
        } else {
            break;
        }
    }
    if (argc - first != 2) {
        std::fprintf(stderr,
                     "usage: copy_bench [--new-copy] [--count] [--workers=N] SOURCE DESTINATION\n");
        return 2;
    }
    const std::string source = argv[first];
    const std::string destination = argv[first + 1];
    CountingObserver observer;
    std::optional<vaultrix::CopyProgress> counted;
    vaultrix::Result<> result = vaultrix::success();
    {
        std::jthread walk;
        if (count) {
            walk = std::jthread([&](std::stop_token stop) {
                vaultrix::moveThreadToBackground();
                counted = vaultrix::countSources({source}, destination, stop);
            });
        }
        NoFaults none;
        result =
            vaultrix::CopyToFolderWithFaults(source, destination, flags, observer, none, workers);
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("files=%llu bytes=%llu max_rss_kib=%ld",
                static_cast<unsigned long long>(observer.last.filesDone),
                static_cast<unsigned long long>(observer.last.bytesDone), usage.ru_maxrss);
    if (count && counted) {
        std::printf(" counted_files=%llu counted_bytes=%llu",
                    static_cast<unsigned long long>(counted->filesDone),
                    static_cast<unsigned long long>(counted->bytesDone));
    } else if (count) {
        std::printf(" counted=stopped");
    }
    std::printf("\n");
    if (!result) {
        std::fprintf(stderr, "%s\n", result.error().message.c_str());
        return 1;
    }
    return 0;
}
