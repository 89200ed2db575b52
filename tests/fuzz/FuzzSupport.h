#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/TempDir.h"

namespace vaultrix::fuzz {

// Stops the run with the rule that broke, so libFuzzer keeps the input as a crash.
inline void require(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "fuzz rule broken: %s\n", rule);
        std::abort();
    }
}

// An input is `files` file texts, each ended by "\0\0", then the bytes that choose the steps.
// Seeds thus hold the files as they are, and the fuzzer changes their text directly. An empty
// file text stands for a missing file; missing parts are missing files.
struct Input {
    std::vector<std::string> files;
    std::string steps;
};

inline Input splitInput(const std::uint8_t* data, std::size_t size, int files) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    Input input;
    for (int i = 0; i < files; ++i) {
        const auto end = rest.find(std::string_view("\0\0", 2));
        input.files.emplace_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    }
    input.steps = rest;
    return input;
}

// A file as it stands: missing, or its bytes.
struct FileState {
    bool exists = false;
    std::string bytes;
    bool operator==(const FileState&) const = default;
};

inline FileState stateOf(const std::filesystem::path& file) {
    std::error_code error;
    const bool exists = std::filesystem::exists(file, error);
    return FileState{exists, exists ? test::readBytes(file) : std::string()};
}

// Writes the text as the file, or removes the file when the text is empty.
inline void placeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::error_code error;
    std::filesystem::remove(file, error);
    if (!bytes.empty()) {
        test::writeBytes(file, bytes);
    }
}

// The scratch folder of this process (under TMPDIR), removed at exit.
inline const std::filesystem::path& scratch() {
    static const test::TempDir dir;
    return dir.path();
}

// One of the texts; the chosen index comes from the input.
template <typename T, std::size_t N>
const T& pick(FuzzedDataProvider& data, const T (&texts)[N]) {
    return texts[data.ConsumeIntegralInRange<std::size_t>(0, N - 1)];
}

}  // namespace vaultrix::fuzz
