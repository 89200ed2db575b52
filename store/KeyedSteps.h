#pragma once

#include <functional>
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
//
// The steps change the lines in place: a file of lines without line breaks in them reads back
// as the same lines, but for a final empty line after a last line that is not empty, and
// without its first line when that is empty. Only a step that writes a text holding a line break
// (or the first step on lines given with one) joins and reads the whole text back.
class KeyedSteps {
public:
    explicit KeyedSteps(LineList loaded);

    std::string readValue(std::string_view section, std::string_view key) const;
    void writeEntry(std::string_view section, std::string_view entry);
    Removal deleteEntry(std::string_view section, std::string_view key);
    Removal deleteSectionHeader(std::string_view section);
    void replaceLine(std::string_view oldLine, std::string_view newLine);
    // Appends the lines at the end, as one rewrite.
    void appendLines(std::initializer_list<std::string_view> lines);
    // Hands the section's lines (as sectionLines gives them) to `edit` and puts what it leaves
    // in their place, as one rewrite; changes nothing when the section is missing.
    void editSection(std::string_view section,
                     const std::function<void(std::vector<std::string>&)>& edit);
    // True when a line equals text.
    bool hasLine(std::string_view text) const;
    // The lines below the section's header up to the next line that starts with '['; empty
    // when the section is missing.
    std::vector<std::string> sectionLines(std::string_view section) const;
    // The first line as the file reads back (a leading empty line is not read).
    std::string firstLine() const { return current_.lineAt(1); }

    // The lines as the last step writes them.
    const LineList& lines() const;

private:
    // The step has changed current_ into the lines it writes; they become what a load of that
    // file gives. lineBreak: the step wrote a text that holds a line break.
    void rewrite(bool lineBreak);
    // The number of the first line after the section that starts at line `header`.
    int sectionEnd(int header) const;

    // The lines as the last step's file reads back.
    LineList current_;
    // What the last step wrote differs from current_ only by these two, unless a line break
    // made it write a text that reads back as other lines (then held whole).
    bool endAdded_ = false;
    bool frontDropped_ = false;
    // Lines given with a line break in them (not loaded from a file): the first step reads them
    // back whole.
    bool breakLoaded_ = false;
    mutable LineList written_;
    mutable bool writtenKnown_ = false;
};

}  // namespace vaultrix
