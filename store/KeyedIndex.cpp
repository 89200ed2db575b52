#include "store/KeyedIndex.h"

namespace vaultrix {

KeyedIndex::KeyedIndex(const LineList& lines) : lines_(lines) {
    int header = 0;
    for (int i = 1; i <= lines.count(); ++i) {
        const std::string_view line = lines.lines()[static_cast<std::size_t>(i - 1)];
        firstLine_.try_emplace(line, i);
        const auto prefix = keyPrefix(line);
        if (prefix.starts_with('[')) {
            header = i;
        } else {
            keys_.try_emplace(SectionKey{header, prefix}, i);
        }
    }
}

std::string KeyedIndex::readValue(std::string_view section, std::string_view key) const {
    const auto found = firstLine_.find(section);
    if (found == firstLine_.end()) {
        return {};
    }
    const int s = found->second;
    int k = 0;
    if (keyPrefix(lines_.lines()[static_cast<std::size_t>(s - 1)]).starts_with('[')) {
        const auto entry = keys_.find(SectionKey{s, keyPrefix(key)});
        k = entry == keys_.end() ? 0 : entry->second;
    } else {
        // A "section" that is no header line: its keys were indexed under the header above it.
        k = lines_.findKey(key, s + 1);
    }
    return k == 0 ? std::string() : lines_.valueAt(k);
}

}  // namespace vaultrix
