#include <sstream>

#include "platform/Volumes.h"

namespace vaultrix::fs {
namespace {

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

}  // namespace

std::string decodeEscapes(const std::string& field) {
    std::string decoded;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctalDigit(field[i + 1]) &&
            isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            decoded += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                         (field[i + 3] - '0'));
            i += 3;
        } else {
            decoded += field[i];
        }
    }
    return decoded;
}

std::vector<std::string> parseMountPoints(const std::string& text) {
    std::vector<std::string> points;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device;
        std::string folder;
        if (!(fields >> device >> folder) || device[0] == '#') continue;
        folder = decodeEscapes(folder);
        if (folder.empty() || folder[0] != '/') continue;  // "none" or "swap"
        points.push_back(folder);
    }
    return points;
}

}  // namespace vaultrix::fs
