// Runs one copy from the command line, for timing it against other tools:
//   copy_bench [--new-copy] SOURCE DESTINATION
// Prints the files and bytes done and the peak resident memory; exit code 1 on failure.
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/CopyToFolder.h"

namespace {

class CountingObserver final : public vaultrix::CopyObserver {
public:
    void onProgress(const vaultrix::CopyProgress& progress) override { last = progress; }
    bool cancelRequested() override { return false; }
    vaultrix::CopyProgress last;
};

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    unsigned flags = vaultrix::kCopyFlagsOverwrite;
    if (argc > 1 && std::strcmp(argv[1], "--new-copy") == 0) {
        flags = vaultrix::kCopyFlagsNewCopy;
        first = 2;
    }
    if (argc - first != 2) {
        std::fprintf(stderr, "usage: copy_bench [--new-copy] SOURCE DESTINATION\n");
        return 2;
    }
    CountingObserver observer;
    const vaultrix::Result<> result =
        vaultrix::CopyToFolder(argv[first], argv[first + 1], flags, observer);
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("files=%llu bytes=%llu max_rss_kib=%ld\n",
                static_cast<unsigned long long>(observer.last.filesDone),
                static_cast<unsigned long long>(observer.last.bytesDone), usage.ru_maxrss);
    if (!result) {
        std::fprintf(stderr, "%s\n", result.error().message.c_str());
        return 1;
    }
    return 0;
}
