#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "store/LineList.h"

namespace vaultrix {

// Many reads from one loaded file, each without a scan of the file: every line and every key
// of every section is found in one pass. Reads what LineList::findLine and findKey would find.
// The lines must outlive the index.
class KeyedIndex {
public:
    explicit KeyedIndex(const LineList& lines);

    // The value of the key in the section; empty when the section or the key is missing.
    std::string readValue(std::string_view section, std::string_view key) const;

private:
    struct SectionKey {
        int header;  // the number of the line that opens the section (0 before the first one)
        std::string_view key;
        bool operator==(const SectionKey&) const = default;
    };
    struct SectionKeyHash {
        std::size_t operator()(const SectionKey& k) const {
            return std::hash<std::string_view>{}(k.key) ^
                   (std::hash<int>{}(k.header) * 0x9E3779B97F4A7C15ull);
        }
    };

    const LineList& lines_;
    std::unordered_map<std::string_view, int> firstLine_;       // each text: its first line number
    std::unordered_map<SectionKey, int, SectionKeyHash> keys_;  // each key: its first line
};

}  // namespace vaultrix
