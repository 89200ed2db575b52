#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "store/KeyedSteps.h"

namespace vaultrix {
namespace {

using Lines = std::vector<std::string>;

// The steps done the plain way: every step copies the lines, changes the copy, joins it into the
// file's text and parses that back, as separate rewrites of a file would.
class PlainSteps {
public:
    explicit PlainSteps(LineList loaded) : current_(loaded), written_(std::move(loaded)) {}

    void writeEntry(std::string_view section, std::string_view entry) {
        LineList lines = current_;
        const int s = lines.findLine(section);
        if (s == 0) {
            lines.append(std::string(section));
            lines.append(std::string(entry));
        } else if (const int k = lines.findKey(entry, s + 1); k != 0) {
            lines.setLine(k, std::string(entry));
        } else {
            lines.insertAfter(s, std::string(entry));
        }
        rewrite(std::move(lines));
    }
    Removal deleteEntry(std::string_view section, std::string_view key) {
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
    Removal deleteSectionHeader(std::string_view section) {
        LineList lines = current_;
        const int s = lines.findLine(section);
        lines.removeAt(s);
        rewrite(std::move(lines));
        return s != 0 ? Removal::removed : Removal::notFound;
    }
    void replaceLine(std::string_view oldLine, std::string_view newLine) {
        LineList lines = current_;
        lines.setLine(lines.findLine(oldLine), std::string(newLine));
        rewrite(std::move(lines));
    }
    void appendLines(const Lines& added) {
        LineList lines = current_;
        for (const auto& line : added) lines.append(line);
        rewrite(std::move(lines));
    }
    void editSection(std::string_view section, const std::function<void(Lines&)>& edit) {
        Lines lines = current_.lines();
        const auto s = static_cast<std::size_t>(current_.findLine(section));
        if (s != 0) {
            auto end = s;
            while (end < lines.size() && !lines[end].starts_with('[')) ++end;
            Lines part(lines.begin() + s, lines.begin() + end);
            edit(part);
            lines.erase(lines.begin() + s, lines.begin() + end);
            lines.insert(lines.begin() + s, part.begin(), part.end());
        }
        rewrite(LineList(lines));
    }

    std::string readValue(std::string_view section, std::string_view key) const {
        const int s = current_.findLine(section);
        const int k = s == 0 ? 0 : current_.findKey(key, s + 1);
        return current_.valueAt(k);
    }
    Lines sectionLines(std::string_view section) const {
        Lines lines;
        const int s = current_.findLine(section);
        for (int i = s + 1; s != 0 && i <= current_.count(); ++i) {
            if (current_.lineAt(i).starts_with('[')) break;
            lines.push_back(current_.lineAt(i));
        }
        return lines;
    }
    const LineList& current() const { return current_; }
    const LineList& lines() const { return written_; }

private:
    void rewrite(LineList lines) {
        current_ = LineList::parse(lines.joined());
        written_ = std::move(lines);
    }

    LineList current_;
    LineList written_;
};

// Random steps on random files, with empty lines at the front and the end, texts that hold a
// line break or a carriage return, and sections that repeat: the steps done in place write and
// read exactly what the plain rewrites write and read, after every step.
TEST(KeyedSteps, InPlaceStepsEqualPlainRewrites) {
    const std::vector<std::string> texts{
        "",     "[A]",    "[B]", "k=1",  "k=2", "m=",     "m=x", "z=9", "a\rb",
        "k=\r", "k=a\nb", "\n",  "[A\n", "[C]", "name_1", "=",   "\r"};
    const std::vector<std::string> sections{"[A]", "[B]", "[C]", "", "k=1", "[A\n"};
    const std::vector<std::string> keys{"k=", "m=", "", "z=", "a\rb", "name_1"};
    std::mt19937 random(7);
    const auto pick = [&random](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    const auto below = [&random](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };

    for (int file = 0; file < 400; ++file) {
        Lines start;
        for (int i = below(12); i > 0; --i) start.push_back(pick(texts));
        // Loaded from a file, or made by hand with any lines at all.
        const LineList loaded =
            file % 2 == 0 ? LineList::parse(LineList(start).joined()) : LineList(start);
        KeyedSteps steps(loaded);
        PlainSteps plain(loaded);
        EXPECT_EQ(steps.lines().lines(), plain.lines().lines());
        for (int step = 0; step < 25; ++step) {
            const std::string section = pick(sections);
            const std::string key = pick(keys);
            const std::string text = pick(texts);
            switch (below(7)) {
                case 0:
                    steps.writeEntry(section, key + text);
                    plain.writeEntry(section, key + text);
                    break;
                case 1:
                    ASSERT_EQ(steps.deleteEntry(section, key), plain.deleteEntry(section, key));
                    break;
                case 2:
                    ASSERT_EQ(steps.deleteSectionHeader(section),
                              plain.deleteSectionHeader(section));
                    break;
                case 3: {
                    const std::string replacement = pick(texts);
                    steps.replaceLine(text, replacement);
                    plain.replaceLine(text, replacement);
                    break;
                }
                case 4: {
                    const std::string second = pick(texts);
                    steps.appendLines({text, second});
                    plain.appendLines({text, second});
                    break;
                }
                case 5: {
                    const std::string added = pick(texts);
                    const auto edit = [&](Lines& lines) {
                        if (!lines.empty()) lines.erase(lines.begin());
                        lines.push_back(added);
                    };
                    steps.editSection(section, edit);
                    plain.editSection(section, edit);
                    break;
                }
                default:
                    break;
            }
            ASSERT_EQ(steps.lines().lines(), plain.lines().lines())
                << "file " << file << " step " << step;
            ASSERT_EQ(steps.firstLine(), plain.current().lineAt(1));
            ASSERT_EQ(steps.readValue(section, key), plain.readValue(section, key));
            ASSERT_EQ(steps.sectionLines(section), plain.sectionLines(section));
            ASSERT_EQ(steps.hasLine(text), plain.current().findLine(text) != 0);
        }
    }
}

}  // namespace
}  // namespace vaultrix
