#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "store/LineList.h"

namespace vaultrix {

// Many reads from one loaded file of many small sections: every section header is found in
// one pass, and a key by a look through its own section alone. Reads what LineList::findLine and
// findKey would find. The lines must outlive the index.
class KeyedIndex {
public:
    explicit KeyedIndex(const LineList& lines);

    // The value of the key in the section; empty when the section or the key is missing.
    std::string readValue(std::string_view section, std::string_view key) const;

private:
    const LineList& lines_;
    std::unordered_map<std::string_view, int> headers_;  // each header line: its first number
};

}  // namespace vaultrix
