#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/FileCopy.h"

namespace vaultrix::test {

// Records the chunks of a file copy and can stop it after a number of them.
class RecordingHook final : public fs::ChunkHook {
public:
    explicit RecordingHook(std::size_t stopAfter = 0, fs::OsCode stopWith = fs::kOsOk)
        : stopAfter_(stopAfter), stopWith_(stopWith) {}
    fs::OsCode afterChunk(std::uint64_t bytes) override {
        chunks.push_back(bytes);
        return chunks.size() == stopAfter_ ? stopWith_ : fs::kOsOk;
    }
    std::vector<std::uint64_t> chunks;

private:
    std::size_t stopAfter_;
    fs::OsCode stopWith_;
};

}  // namespace vaultrix::test
