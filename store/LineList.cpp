#include "store/LineList.h"

#include <algorithm>

namespace vaultrix {

std::string_view keyPrefix(std::string_view line) {
    const auto equals = line.find('=');
    return equals == std::string_view::npos ? line : line.substr(0, equals + 1);
}

std::string LineList::lineAt(int i) const {
    return i >= 1 && i <= count() ? lines_[i - 1] : std::string();
}

void LineList::setLine(int i, std::string text) {
    if (i >= 1 && i <= count()) {
        lines_[i - 1] = std::move(text);
    }
}

void LineList::append(std::string text) {
    lines_.push_back(std::move(text));
}

void LineList::insertAfter(int i, std::string text) {
    if (i >= 0 && i <= count()) {
        lines_.insert(lines_.begin() + i, std::move(text));
    }
}

void LineList::removeAt(int i) {
    if (i >= 1 && i <= count()) {
        lines_.erase(lines_.begin() + (i - 1));
    }
}

void LineList::replaceRange(int first, int last, std::vector<std::string> lines) {
    first = std::clamp(first, 1, count() + 1);
    last = std::clamp(last, first, count() + 1);
    const auto from = lines_.begin() + (first - 1);
    const auto kept = std::min(lines.size(), static_cast<std::size_t>(last - first));
    std::move(lines.begin(), lines.begin() + kept, from);
    if (lines.size() > kept) {
        lines_.insert(from + kept, std::make_move_iterator(lines.begin() + kept),
                      std::make_move_iterator(lines.end()));
    } else {
        lines_.erase(from + kept, lines_.begin() + (last - 1));
    }
}

int LineList::findLine(std::string_view text) const {
    for (int i = 1; i <= count(); ++i) {
        if (lines_[i - 1] == text) {
            return i;
        }
    }
    return 0;
}

int LineList::findKey(std::string_view key, int from) const {
    const auto wanted = keyPrefix(key);
    for (int i = std::max(from, 1); i <= count(); ++i) {
        const auto prefix = keyPrefix(lines_[i - 1]);
        if (prefix.starts_with('[')) {
            return 0;
        }
        if (prefix == wanted) {
            return i;
        }
    }
    return 0;
}

std::string LineList::valueAt(int i) const {
    if (i < 1 || i > count()) {
        return {};
    }
    const auto& line = lines_[i - 1];
    const auto equals = line.find('=');
    return equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

std::string LineList::joined() const {
    std::size_t size = 2 * lines_.size();
    for (const auto& line : lines_) {
        size += line.size();
    }
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += lines_[i];
    }
    return text;
}

LineList LineList::parse(std::string_view text) {
    LineList list;
    for (const auto line : parseViews(text)) {
        list.lines_.emplace_back(line);
    }
    return list;
}

std::vector<std::string_view> LineList::parseViews(std::string_view text) {
    std::vector<std::string_view> lines;
    if (text.empty()) {
        return lines;
    }
    std::size_t start = 0;
    while (true) {
        const auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            // The last read meets the end of the file; it yields the text before it (if any)
            // and then always one empty line.
            if (start < text.size()) {
                lines.push_back(text.substr(start));
            }
            lines.emplace_back();
            break;
        }
        auto line = text.substr(start, end - start);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = end + 1;
    }
    // The first read keeps its line only when it is not empty.
    if (lines.front().empty()) {
        lines.erase(lines.begin());
    }
    return lines;
}

}  // namespace vaultrix
