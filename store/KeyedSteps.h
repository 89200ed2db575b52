#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "store/LineList.h"

namespace vaultrix {

// Whether deleteEntry or deleteSectionHeader found a line to remove.
enum class Removal { removed, notFound };

// The keyed operations applied one after another to lines loaded once, with the same outcome
// as calling the file operations one by one: each step sees the lines as the previous step's
// rewrite would read back from the file. A change made of several steps is then saved once, as
// one atomic rewrite, and comes out byte for byte as the separate rewrites would have left it.
class KeyedSteps {
public:
    explicit KeyedSteps(LineList loaded) : current_(loaded), written_(std::move(loaded)) {}

    std::string readValue(std::string_view section, std::string_view key) const;
    void writeEntry(std::string_view section, std::string_view entry);
    Removal deleteEntry(std::string_view section, std::string_view key);
    Removal deleteSectionHeader(std::string_view section);
    void replaceLine(std::string_view oldLine, std::string_view newLine);
    // Appends the lines at the end, as one rewrite.
    void appendLines(std::initializer_list<std::string_view> lines);
    // True when a line equals text.
    bool hasLine(std::string_view text) const;
    // The lines below the section's header up to the next line that starts with '['; empty
    // when the section is missing.
    std::vector<std::string> sectionLines(std::string_view section) const;
    // The first line as the file reads back (a leading empty line is not read).
    std::string firstLine() const { return current_.lineAt(1); }

    // The lines as the last step writes them.
    const LineList& lines() const { return written_; }

private:
    // The lines a step wrote; the next step sees them as a load of that file gives them.
    void rewrite(LineList lines);

    LineList current_;
    LineList written_;
};

}  // namespace vaultrix
