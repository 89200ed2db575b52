#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vaultrix {

// The key prefix of a line: up to and including its first '=', or the whole line without one.
std::string_view keyPrefix(std::string_view line);

// The lines of one keyed text file in memory, numbered from 1, without line ends (UTF-8).
// Owned by the one operation that loaded it.
class LineList {
public:
    LineList() = default;
    explicit LineList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    int count() const { return static_cast<int>(lines_.size()); }
    // Empty when i is outside 1 … count.
    std::string lineAt(int i) const;
    // No effect when i is outside 1 … count.
    void setLine(int i, std::string text);
    void append(std::string text);
    // The new line becomes line i + 1.
    void insertAfter(int i, std::string text);
    void removeAt(int i);
    // Lines first … last - 1 give way to `lines` (first may be count() + 1: added at the end).
    void replaceRange(int first, int last, std::vector<std::string> lines);
    // Smallest i whose whole line equals text; 0 when none.
    int findLine(std::string_view text) const;
    // From line `from` on, the first line whose key prefix equals key's; 0 at a line starting
    // with '[' (the section ended) or at the end of the list.
    int findKey(std::string_view key, int from) const;
    // Everything after the first '=' of line i; empty without one.
    std::string valueAt(int i) const;
    void clear() { lines_.clear(); }

    const std::vector<std::string>& lines() const { return lines_; }

    // The file text: lines joined by CR LF, the last one without a line end.
    std::string joined() const;
    // Lines as a file of this text loads: a lone LF ends a line too, a first empty line is
    // dropped, and a non-empty text always yields a final empty line.
    static LineList parse(std::string_view text);
    // The same lines as views into the text, for a text too large to copy line by line.
    static std::vector<std::string_view> parseViews(std::string_view text);

private:
    std::vector<std::string> lines_;
};

}  // namespace vaultrix
