#include "store/KeyedSteps.h"

namespace vaultrix {

void KeyedSteps::reload() {
    if (rewritten_) {
        lines_ = LineList::parse(lines_.joined());
        rewritten_ = false;
    }
}

std::string KeyedSteps::readValue(std::string_view section, std::string_view key) {
    reload();
    const int s = lines_.findLine(section);
    if (s == 0) {
        return {};
    }
    const int k = lines_.findKey(key, s + 1);
    return k == 0 ? std::string() : lines_.valueAt(k);
}

void KeyedSteps::writeEntry(std::string_view section, std::string_view entry) {
    reload();
    const int s = lines_.findLine(section);
    if (s == 0) {
        lines_.append(std::string(section));
        lines_.append(std::string(entry));
    } else if (const int k = lines_.findKey(entry, s + 1); k != 0) {
        lines_.setLine(k, std::string(entry));
    } else {
        // A new key goes directly below the header, so the newest key stands first.
        lines_.insertAfter(s, std::string(entry));
    }
    rewrite();
}

Removal KeyedSteps::deleteEntry(std::string_view section, std::string_view key) {
    reload();
    auto result = Removal::notFound;
    if (const int s = lines_.findLine(section); s != 0) {
        if (const int k = lines_.findKey(key, s + 1); k != 0) {
            lines_.removeAt(k);
            result = Removal::removed;
        }
    }
    rewrite();
    return result;
}

Removal KeyedSteps::deleteSectionHeader(std::string_view section) {
    reload();
    auto result = Removal::notFound;
    if (const int s = lines_.findLine(section); s != 0) {
        lines_.removeAt(s);
        result = Removal::removed;
    }
    rewrite();
    return result;
}

void KeyedSteps::replaceLine(std::string_view oldLine, std::string_view newLine) {
    reload();
    if (const int s = lines_.findLine(oldLine); s != 0) {
        lines_.setLine(s, std::string(newLine));
    }
    rewrite();
}

void KeyedSteps::appendLines(std::initializer_list<std::string_view> lines) {
    reload();
    for (const auto line : lines) {
        lines_.append(std::string(line));
    }
    rewrite();
}

bool KeyedSteps::hasLine(std::string_view text) {
    reload();
    return lines_.findLine(text) != 0;
}

}  // namespace vaultrix
