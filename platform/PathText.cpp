#include "platform/PathText.h"

#include <vector>

namespace vaultrix::fs {

std::string pathText(const std::filesystem::path& path) {
    const auto utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

std::string collapseDots(std::string_view names, std::string_view separators, char separator,
                         bool rooted) {
    std::vector<std::string_view> kept;
    std::size_t begin = 0;
    while (begin <= names.size()) {
        std::size_t end = names.find_first_of(separators, begin);
        if (end == std::string_view::npos) end = names.size();
        const std::string_view name = names.substr(begin, end - begin);
        if (name == "..") {
            if (!kept.empty() && kept.back() != "..") {
                kept.pop_back();
            } else if (!rooted) {
                kept.push_back(name);
            }
        } else if (!name.empty() && name != ".") {
            kept.push_back(name);
        }
        begin = end + 1;
    }
    std::string joined;
    for (const std::string_view name : kept) {
        if (!joined.empty()) joined += separator;
        joined += name;
    }
    return joined;
}

}  // namespace vaultrix::fs
