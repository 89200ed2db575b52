#include "store/KeyedSteps.h"

#include <algorithm>

namespace vaultrix {
namespace {

bool holdsLineBreak(std::string_view text) {
    return text.find('\n') != std::string_view::npos;
}

}  // namespace

KeyedSteps::KeyedSteps(LineList loaded)
    : current_(std::move(loaded)),
      breakLoaded_(std::ranges::any_of(current_.lines(), holdsLineBreak)) {}

void KeyedSteps::rewrite(bool lineBreak) {
    writtenKnown_ = false;
    if (lineBreak || breakLoaded_) {
        breakLoaded_ = false;
        // The text splits where the line break stands: read it back as a load would.
        written_ = std::move(current_);
        writtenKnown_ = true;
        current_ = LineList::parse(written_.joined());
        return;
    }
    // Lines joined by CR LF read back as themselves; the last read meets the end of the file
    // and yields one more empty line after a last line that is not empty, and the first read
    // keeps its line only when it is not empty.
    endAdded_ = current_.count() > 0 && !current_.lines().back().empty();
    if (endAdded_) {
        current_.append(std::string());
    }
    frontDropped_ = current_.count() > 0 && current_.lines().front().empty();
    if (frontDropped_) {
        current_.removeAt(1);
    }
}

const LineList& KeyedSteps::lines() const {
    if (!writtenKnown_) {
        written_ = current_;
        if (endAdded_) {
            written_.removeAt(written_.count());
        }
        if (frontDropped_) {
            written_.insertAfter(0, std::string());
        }
        writtenKnown_ = true;
    }
    return written_;
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
    const int s = current_.findLine(section);
    if (s == 0) {
        current_.append(std::string(section));
        current_.append(std::string(entry));
    } else if (const int k = current_.findKey(entry, s + 1); k != 0) {
        current_.setLine(k, std::string(entry));
    } else {
        // A new key goes directly below the header, so the newest key stands first.
        current_.insertAfter(s, std::string(entry));
    }
    rewrite(holdsLineBreak(entry) || (s == 0 && holdsLineBreak(section)));
}

Removal KeyedSteps::deleteEntry(std::string_view section, std::string_view key) {
    auto result = Removal::notFound;
    if (const int s = current_.findLine(section); s != 0) {
        if (const int k = current_.findKey(key, s + 1); k != 0) {
            current_.removeAt(k);
            result = Removal::removed;
        }
    }
    rewrite(false);
    return result;
}

Removal KeyedSteps::deleteSectionHeader(std::string_view section) {
    auto result = Removal::notFound;
    if (const int s = current_.findLine(section); s != 0) {
        current_.removeAt(s);
        result = Removal::removed;
    }
    rewrite(false);
    return result;
}

void KeyedSteps::replaceLine(std::string_view oldLine, std::string_view newLine) {
    const int s = current_.findLine(oldLine);
    if (s != 0) {
        current_.setLine(s, std::string(newLine));
    }
    rewrite(s != 0 && holdsLineBreak(newLine));
}

void KeyedSteps::appendLines(std::initializer_list<std::string_view> added) {
    for (const auto line : added) {
        current_.append(std::string(line));
    }
    rewrite(std::ranges::any_of(added, holdsLineBreak));
}

void KeyedSteps::editSection(std::string_view section,
                             const std::function<void(std::vector<std::string>&)>& edit) {
    const int s = current_.findLine(section);
    if (s == 0) {
        rewrite(false);
        return;
    }
    std::vector<std::string> lines = sectionLines(section);
    edit(lines);
    const bool lineBreak = std::ranges::any_of(lines, holdsLineBreak);
    current_.replaceRange(s + 1, sectionEnd(s), std::move(lines));
    rewrite(lineBreak);
}

bool KeyedSteps::hasLine(std::string_view text) const {
    return current_.findLine(text) != 0;
}

int KeyedSteps::sectionEnd(int header) const {
    int i = header + 1;
    while (i <= current_.count() && !current_.lines()[i - 1].starts_with('[')) {
        ++i;
    }
    return i;
}

std::vector<std::string> KeyedSteps::sectionLines(std::string_view section) const {
    const int s = current_.findLine(section);
    if (s == 0) {
        return {};
    }
    const auto& lines = current_.lines();
    return std::vector<std::string>(lines.begin() + s, lines.begin() + (sectionEnd(s) - 1));
}

}  // namespace vaultrix
