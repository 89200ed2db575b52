#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vaultrix {

// Many reads from one file's text as it was read: the lines are views into the text, every
// section header is found in one pass, and a key by a look through its own section alone. Reads
// what a LineList of the text would read with findLine and findKey.
class KeyedIndex {
public:
    explicit KeyedIndex(std::string text);
    KeyedIndex(const KeyedIndex&) = delete;
    KeyedIndex& operator=(const KeyedIndex&) = delete;

    // The value of the key in the section; empty when the section or the key is missing.
    std::string readValue(std::string_view section, std::string_view key) const;
    // True when a line equals the section's header.
    bool hasSection(std::string_view section) const;
    // The lines below the section's header up to the next line that starts with '['.
    std::vector<std::string_view> sectionLines(std::string_view section) const;

private:
    // The index of the line after the section's header; lines_.size() + 1 when it is missing.
    std::size_t sectionStart(std::string_view section) const;

    const std::string text_;
    const std::vector<std::string_view> lines_;
    std::unordered_map<std::string_view, std::size_t> headers_;  // each header: its first line
};

}  // namespace vaultrix
