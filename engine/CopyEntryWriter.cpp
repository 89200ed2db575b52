#include "engine/CopyEntryWriter.h"

namespace vaultrix {

using fs::kOsOk;
using fs::OsCode;

CopyEntryWriter::CopyEntryWriter(CopyTemporaries& temporaries, CopyProgressMeter& meter,
                                 CopyFailures& failures)
    : temporaries_(temporaries), meter_(meter), failures_(failures) {}

bool CopyEntryWriter::writeFile(const std::string& source, const fs::EntryInfo& info,
                                const std::string& folder, const std::string& name,
                                EntryWrite how) {
    meter_.beginFile();
    if (!write(source, folder, name, how, false)) return false;
    // The holes of a sparse file are not moved, yet they are done: the run's numbers reach the
    // size its counting walk found.
    const std::uint64_t moved = meter_.fileBytes();
    meter_.fileDone(moved >= info.size ? 0 : info.size - moved);
    return true;
}

bool CopyEntryWriter::writeLink(const std::string& source, const std::string& folder,
                                const std::string& name, EntryWrite how) {
    if (!write(source, folder, name, how, true)) return false;
    meter_.fileDone(0);
    return true;
}

bool CopyEntryWriter::write(const std::string& source, const std::string& folder,
                            const std::string& name, EntryWrite how, bool link) {
    const std::string target = fs::joinPath(folder, name);
    const bool replace = how != EntryWrite::fresh;
    const std::string written = replace ? fs::joinPath(folder, temporaries_.newName(name)) : target;
    const OsCode copied = link ? fs::copyLink(source, written)
                               : fs::copyFileData(source, written, how == EntryWrite::replaceSynced,
                                                  meter_, context_);
    if (copied != kOsOk) return failures_.fail(source, copied);
    if (replace) {
        if (const OsCode code = fs::replaceEntry(written, target); code != kOsOk) {
            fs::removeQuietly(written);
            return failures_.fail(source, code);
        }
    }
    ++writes_;
    return true;
}

bool CopyEntryWriter::takePlace(const std::string& source, const std::string& temporary,
                                const std::string& folder, const std::string& name) {
    const std::string spare = fs::joinPath(folder, temporaries_.newName(name));
    if (const OsCode code = fs::exchangeEntries(temporary, fs::joinPath(folder, name), spare);
        code != kOsOk) {
        CopyTemporaries::discard(temporary);
        return failures_.fail(source, code);
    }
    CopyTemporaries::discard(temporary);  // the older entry, now under the temporary name
    ++writes_;
    return true;
}

}  // namespace vaultrix
