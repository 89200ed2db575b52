#include "store/KeyedTextFile.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/PathText.h"
#include "store/Cp1252.h"
#include "store/StorableText.h"

namespace vaultrix {
namespace {

Error readError(const std::filesystem::path& file) {
    return failure("Die Datei '" + fs::pathText(file) + "' kann nicht gelesen werden.",
                   fs::pathText(file));
}

// The bytes of the file from `from` on; an empty text when it does not exist.
Result<std::string> readBytes(const std::filesystem::path& file, std::uintmax_t from = 0) {
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return std::string();
    }
    if (error || std::filesystem::is_directory(status)) {
        return readError(file);
    }
    std::ifstream in(file, std::ios::binary);
    if (!in || !in.seekg(static_cast<std::streamoff>(from))) {
        return readError(file);
    }
    // Room for the size the file has now, so a large file is read in one piece; a file that
    // grows meanwhile is read on to its end.
    std::string bytes;
    const auto size = std::filesystem::file_size(file, error);
    bytes.reserve(!error && size > from ? static_cast<std::size_t>(size - from) : 0);
    char buffer[16384];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        return readError(file);
    }
    return bytes;
}

}  // namespace

std::string KeyedTextFile::readValue(const Path& file, std::string_view section,
                                     std::string_view key) {
    auto held = lock(file);
    auto loaded = load(file);
    if (!loaded) {
        return {};
    }
    return KeyedSteps(std::move(loaded).value()).readValue(section, key);
}

Result<> KeyedTextFile::writeEntry(const Path& file, std::string_view section,
                                   std::string_view entry) {
    return change(file, [&](KeyedSteps& keyed) { keyed.writeEntry(section, entry); });
}

Result<Removal> KeyedTextFile::deleteEntry(const Path& file, std::string_view section,
                                           std::string_view key) {
    auto removal = Removal::notFound;
    auto saved =
        change(file, [&](KeyedSteps& keyed) { removal = keyed.deleteEntry(section, key); });
    if (!saved) {
        return saved.error();
    }
    return removal;
}

Result<Removal> KeyedTextFile::deleteSectionHeader(const Path& file, std::string_view section) {
    auto removal = Removal::notFound;
    auto saved =
        change(file, [&](KeyedSteps& keyed) { removal = keyed.deleteSectionHeader(section); });
    if (!saved) {
        return saved.error();
    }
    return removal;
}

Result<> KeyedTextFile::replaceLine(const Path& file, std::string_view oldLine,
                                    std::string_view newLine) {
    return change(file, [&](KeyedSteps& keyed) { keyed.replaceLine(oldLine, newLine); });
}

Result<LineList> KeyedTextFile::load(const Path& file) {
    auto held = lock(file);
    auto bytes = readBytes(file);
    if (!bytes) {
        return bytes.error();
    }
    return linesOf(bytes.value());
}

Result<> KeyedTextFile::save(const Path& file, const LineList& lines) {
    auto held = lock(file);
    const auto bytes = storedBytes(file, lines);
    if (!bytes) {
        return bytes.error();
    }
    return replaceFileAtomically(file, bytes.value());
}

Result<std::string> KeyedTextFile::storedBytes(const Path& file, const LineList& lines) {
    for (const auto& line : lines.lines()) {
        if (line.find('\n') != std::string::npos) {
            return failure("Ein Zeilenumbruch kann nicht in der Datei '" + fs::pathText(file) +
                               "' gespeichert werden.",
                           fs::pathText(file));
        }
    }
    const std::string text = lines.joined();
    auto bytes = encodeCp1252(text);
    if (!bytes) {
        return failure("Der Text enthält Zeichen, die in der Datei '" + fs::pathText(file) +
                           "' nicht gespeichert werden können (nur Windows-1252 ist möglich).",
                       fs::pathText(file));
    }
    // The last guard of "what is written reads back": a file read as UTF-8 may hold text whose
    // Windows-1252 bytes would be read as other characters.
    if (decodeStoredText(*bytes) != text) {
        const auto lookalike = utf8Lookalike(text);
        return failure("Die Datei '" + fs::pathText(file) + "' " +
                           (lookalike ? misreadReason(*lookalike)
                                      : std::string("würde nach dem Speichern anders gelesen "
                                                    "und kann so nicht gespeichert werden.")),
                       fs::pathText(file));
    }
    return std::move(*bytes);
}

LineList KeyedTextFile::linesOf(std::string_view bytes) {
    return LineList::parse(decodeStoredText(bytes));
}

Result<> KeyedTextFile::change(const Path& file, const std::function<void(KeyedSteps&)>& steps) {
    auto opened = KeyedChange::open({file});
    if (!opened) {
        return opened.error();
    }
    KeyedSteps keyed(opened.value().lines(0));
    steps(keyed);
    return opened.value().save({&keyed.lines()});
}

Result<std::string> KeyedTextFile::readText(const Path& file) {
    auto held = lock(file);
    auto bytes = readBytes(file);
    if (!bytes) {
        return bytes.error();
    }
    return decodeStoredBytes(std::move(bytes).value());
}

Result<KeyedTextFile::TextEnd> KeyedTextFile::readTextEnd(const Path& file,
                                                          std::uintmax_t maxBytes) {
    auto held = lock(file);
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error || size <= maxBytes) {
        auto whole = readText(file);
        if (!whole) {
            return whole.error();
        }
        return TextEnd{std::move(whole).value(), error ? 0 : size, false};
    }
    auto bytes = readBytes(file, size - maxBytes);
    if (!bytes) {
        return bytes.error();
    }
    // The end starts with the first whole line, so no character is cut in two.
    std::string_view end = bytes.value();
    if (const auto lineEnd = end.find('\n'); lineEnd != std::string_view::npos) {
        end.remove_prefix(lineEnd + 1);
    }
    return TextEnd{decodeStoredText(end), size, true};
}

Result<> KeyedTextFile::remove(const Path& file) {
    auto held = lock(file);
    std::error_code error;
    std::filesystem::remove(file, error);
    if (error) {
        return failure("Die Datei '" + fs::pathText(file) + "' kann nicht gelöscht werden.",
                       fs::pathText(file));
    }
    return success();
}

Result<KeyedChange> KeyedChange::open(std::initializer_list<std::filesystem::path> files) {
    KeyedChange change;
    change.files_.reserve(files.size());
    for (const auto& path : files) {
        change.files_.push_back(File{path, KeyedTextFile::lock(path), {}, {}, false});
    }
    for (File& file : change.files_) {
        auto bytes = readBytes(file.path);
        if (!bytes) {
            return bytes.error();
        }
        std::error_code error;
        file.existed = std::filesystem::exists(file.path, error);
        file.bytes = std::move(bytes).value();
        file.text = decodeStoredText(file.bytes);
    }
    return change;
}

Result<> KeyedChange::save(std::initializer_list<const LineList*> lines) {
    const std::size_t count = std::min(lines.size(), files_.size());
    for (std::size_t i = count; i-- > 0;) {
        if (auto saved = write(i, *lines.begin()[i]); !saved) {
            return saved;
        }
    }
    return success();
}

Result<> KeyedChange::write(std::size_t i, const LineList& lines) {
    if (auto saved = KeyedTextFile::save(files_[i].path, lines); !saved) {
        undo();
        return saved;
    }
    if (std::ranges::find(written_, i) == written_.end()) {
        written_.push_back(i);
    }
    return success();
}

void KeyedChange::undo() {
    while (!written_.empty()) {
        const File& file = files_[written_.back()];
        written_.pop_back();
        if (file.existed) {
            (void)replaceFileAtomically(file.path, file.bytes);
        } else {
            (void)KeyedTextFile::remove(file.path);
        }
    }
}

std::unique_lock<std::recursive_mutex> KeyedTextFile::lock(const Path& file) {
    // The one process-wide registry: a lock per file, found by its absolute, normal path. Locks
    // are never removed; the program uses a handful of files.
    static std::mutex registryMutex;
    static std::map<std::string, std::unique_ptr<std::recursive_mutex>> registry;

    std::error_code error;
    auto absolute = std::filesystem::absolute(file, error);
    if (error) {
        absolute = file;
    }
    const auto key = absolute.lexically_normal().generic_u8string();
    std::recursive_mutex* fileMutex = nullptr;
    {
        std::lock_guard guard(registryMutex);
        auto& slot = registry[std::string(key.begin(), key.end())];
        if (!slot) {
            slot = std::make_unique<std::recursive_mutex>();
        }
        fileMutex = slot.get();
    }
    return std::unique_lock(*fileMutex);
}

}  // namespace vaultrix
