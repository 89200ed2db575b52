#include "store/KeyedIndex.h"

namespace vaultrix {

KeyedIndex::KeyedIndex(const LineList& lines) : lines_(lines) {
    for (int i = 1; i <= lines.count(); ++i) {
        const std::string_view line = lines.lines()[static_cast<std::size_t>(i - 1)];
        if (line.starts_with('[')) {
            headers_.try_emplace(line, i);
        }
    }
}

std::string KeyedIndex::readValue(std::string_view section, std::string_view key) const {
    int s = 0;
    if (section.starts_with('[')) {
        const auto found = headers_.find(section);
        s = found == headers_.end() ? 0 : found->second;
    } else {
        s = lines_.findLine(section);
    }
    return s == 0 ? std::string() : lines_.valueAt(lines_.findKey(key, s + 1));
}

}  // namespace vaultrix
