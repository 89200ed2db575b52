#include "common/WindowsNames.h"

#include <algorithm>
#include <array>

namespace vaultrix {
namespace {

constexpr std::string_view kForbiddenCharacters = "<>:\"/\\|?*";

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsUpper(std::string_view text, std::string_view upperText) {
    return text.size() == upperText.size() &&
           std::equal(text.begin(), text.end(), upperText.begin(),
                      [](char a, char b) { return upper(a) == b; });
}

}  // namespace

bool isWindowsDeviceName(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL"}) {
        if (equalsUpper(stem, device)) return true;
    }
    // COM0 and LPT0 are ordinary names; the superscript digits Windows also reserves are not
    // typed by anyone.
    return stem.size() == 4 &&
           (equalsUpper(stem.substr(0, 3), "COM") || equalsUpper(stem.substr(0, 3), "LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

std::string windowsNameProblem(std::string_view name) {
    const std::string quoted = "„" + std::string(name) + "“";
    for (const char c : name) {
        if (kForbiddenCharacters.find(c) != std::string_view::npos) {
            return "Der Name " + quoted +
                   " enthält ein Zeichen, das Windows nicht erlaubt (\\ / : * ? \" < > |).";
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            return "Der Name " + quoted + " enthält ein Steuerzeichen, das Windows nicht erlaubt.";
        }
    }
    if (!name.empty() && (name.back() == '.' || name.back() == ' ') && name != "." &&
        name != "..") {
        return "Der Name " + quoted +
               " endet mit einem Punkt oder Leerzeichen, das Windows nicht erlaubt.";
    }
    if (isWindowsDeviceName(name)) {
        return "Der Name " + quoted + " ist unter Windows einem Gerät vorbehalten.";
    }
    return {};
}

}  // namespace vaultrix
