#include "store/KeyedIndex.h"

#include <algorithm>

#include "store/LineList.h"

namespace vaultrix {

KeyedIndex::KeyedIndex(std::string text)
    : text_(std::move(text)), lines_(LineList::parseViews(text_)) {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].starts_with('[')) {
            headers_.try_emplace(lines_[i], i);
        }
    }
}

std::size_t KeyedIndex::sectionStart(std::string_view section) const {
    if (section.starts_with('[')) {
        const auto found = headers_.find(section);
        return found == headers_.end() ? lines_.size() + 1 : found->second + 1;
    }
    const auto found = std::ranges::find(lines_, section);
    return found == lines_.end() ? lines_.size() + 1 : (found - lines_.begin()) + 1;
}

std::string KeyedIndex::readValue(std::string_view section, std::string_view key) const {
    const auto wanted = keyPrefix(key);
    for (auto i = sectionStart(section); i < lines_.size(); ++i) {
        const auto prefix = keyPrefix(lines_[i]);
        if (prefix.starts_with('[')) {
            break;
        }
        if (prefix == wanted) {
            const auto equals = lines_[i].find('=');
            return equals == std::string_view::npos ? std::string()
                                                    : std::string(lines_[i].substr(equals + 1));
        }
    }
    return {};
}

bool KeyedIndex::hasSection(std::string_view section) const {
    return sectionStart(section) <= lines_.size();
}

std::vector<std::string_view> KeyedIndex::sectionLines(std::string_view section) const {
    const auto start = std::min(sectionStart(section), lines_.size());
    const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(start);
    return {first, std::find_if(first, lines_.end(), [](auto l) { return l.starts_with('['); })};
}

}  // namespace vaultrix
