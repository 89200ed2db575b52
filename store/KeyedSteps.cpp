#include "store/KeyedSteps.h"

namespace vaultrix {

void KeyedSteps::rewrite(LineList lines) {
    current_ = LineList::parse(lines.joined());
    written_ = std::move(lines);
}

std::string KeyedSteps::readValue(std::string_view section, std::string_view key) const {
    const int s = current_.findLine(section);
    if (s == 0) {
        return {};
    }
    const int k = current_.findKey(key, s + 1);
    return k == 0 ? std::string() : current_.valueAt(k);
}

void KeyedSteps::writeEntry(std::string_view section, std::string_view entry) {
    LineList lines = current_;
    const int s = lines.findLine(section);
    if (s == 0) {
        lines.append(std::string(section));
        lines.append(std::string(entry));
    } else if (const int k = lines.findKey(entry, s + 1); k != 0) {
        lines.setLine(k, std::string(entry));
    } else {
        // A new key goes directly below the header, so the newest key stands first.
        lines.insertAfter(s, std::string(entry));
    }
    rewrite(std::move(lines));
}

Removal KeyedSteps::deleteEntry(std::string_view section, std::string_view key) {
    LineList lines = current_;
    auto result = Removal::notFound;
    if (const int s = lines.findLine(section); s != 0) {
        if (const int k = lines.findKey(key, s + 1); k != 0) {
            lines.removeAt(k);
            result = Removal::removed;
        }
    }
    rewrite(std::move(lines));
    return result;
}

Removal KeyedSteps::deleteSectionHeader(std::string_view section) {
    LineList lines = current_;
    auto result = Removal::notFound;
    if (const int s = lines.findLine(section); s != 0) {
        lines.removeAt(s);
        result = Removal::removed;
    }
    rewrite(std::move(lines));
    return result;
}

void KeyedSteps::replaceLine(std::string_view oldLine, std::string_view newLine) {
    LineList lines = current_;
    if (const int s = lines.findLine(oldLine); s != 0) {
        lines.setLine(s, std::string(newLine));
    }
    rewrite(std::move(lines));
}

void KeyedSteps::appendLines(std::initializer_list<std::string_view> added) {
    LineList lines = current_;
    for (const auto line : added) {
        lines.append(std::string(line));
    }
    rewrite(std::move(lines));
}

bool KeyedSteps::hasLine(std::string_view text) const {
    return current_.findLine(text) != 0;
}

std::vector<std::string> KeyedSteps::sectionLines(std::string_view section) const {
    std::vector<std::string> lines;
    const int s = current_.findLine(section);
    for (int i = s + 1; s != 0 && i <= current_.count(); ++i) {
        auto line = current_.lineAt(i);
        if (line.starts_with('[')) {
            break;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace vaultrix
