#include "store/StorableText.h"

#include <algorithm>

#include "common/Text.h"

namespace vaultrix {

std::string unstorableReason(std::string_view text) {
    if (holdsControlCharacter(text)) {
        return "enthält einen Zeilenumbruch oder ein anderes Steuerzeichen und kann so nicht "
               "gespeichert werden.";
    }
    if (!fitsCp1252(text)) {
        return "enthält Zeichen, die nicht gespeichert werden können. Gespeichert werden können "
               "nur Zeichen des westeuropäischen Zeichensatzes Windows-1252.";
    }
    if (const auto lookalike = utf8Lookalike(text)) {
        return misreadReason(*lookalike);
    }
    return {};
}

std::string misreadReason(const Utf8Lookalike& lookalike) {
    return "enthält die Zeichenfolge „" + lookalike.sequence + "“, die nach dem Speichern als „" +
           lookalike.readAs + "“ gelesen würde, und kann so nicht gespeichert werden.";
}

Result<> checkSetName(std::string_view name) {
    if (name.empty()) {
        return failure("Eine Sicherung braucht einen Namen.");
    }
    if (const auto reason = unstorableReason(name); !reason.empty()) {
        return failure("Der Name der Sicherung " + reason);
    }
    // Storable, so one byte per character in the file; in UTF-8 each starts with a byte that is
    // not a continuation byte (10xxxxxx).
    const auto length = std::ranges::count_if(name, [](char c) { return (c & 0xC0) != 0x80; });
    if (static_cast<std::size_t>(length) > kMaxSetNameLength) {
        return failure("Der Name der Sicherung ist länger als " +
                       std::to_string(kMaxSetNameLength) + " Zeichen. Bitte kürzen Sie ihn.");
    }
    return success();
}

}  // namespace vaultrix
