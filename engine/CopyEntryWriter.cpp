#include "engine/CopyEntryWriter.h"

#include <utility>

namespace vaultrix {

using fs::kOsOk;
using fs::OsCode;

CopyEntryWriter::CopyEntryWriter(std::string destination, CopyTemporaries& temporaries,
                                 CopyProgressMeter& meter, CopyFaults& faults)
    : destination_(std::move(destination)),
      temporaries_(temporaries),
      meter_(meter),
      faults_(faults) {}

OsCode CopyEntryWriter::flush() {
    return faults_.flushVolume(destination_);
}

OsCode CopyEntryWriter::writeFile(const std::string& source, const fs::EntryInfo& info,
                                  const std::string& at, fs::CopyContext& context,
                                  std::uint64_t& leftAlone) {
    FileProgress progress(meter_, source);
    if (const OsCode code = fs::copyFileData(source, at, fs::kFlushEachFile, progress, context);
        code != kOsOk) {
        return code;
    }
    leftAlone = progress.moved() >= info.size ? 0 : info.size - progress.moved();
    ++writes_;
    return kOsOk;
}

OsCode CopyEntryWriter::writeLink(const std::string& source, const std::string& at) {
    if (const OsCode code = fs::copyLink(source, at); code != kOsOk) return code;
    ++writes_;
    return kOsOk;
}

std::string CopyEntryWriter::temporaryBeside(const std::string& folder, const std::string& name) {
    return fs::joinPath(folder, temporaries_.newName(name));
}

OsCode CopyEntryWriter::replace(const std::string& written, const std::string& target) {
    if (const OsCode code = fs::replaceEntry(written, target); code != kOsOk) {
        fs::removeQuietly(written);
        return code;
    }
    return kOsOk;
}

OsCode CopyEntryWriter::takePlace(const std::string& temporary, const std::string& folder,
                                  const std::string& name) {
    const std::string spare = temporaryBeside(folder, name);
    const OsCode code = fs::exchangeEntries(temporary, fs::joinPath(folder, name), spare);
    // On success the older entry is now under the temporary name.
    CopyTemporaries::discard(temporary);
    if (code != kOsOk) return code;
    ++writes_;
    return kOsOk;
}

}  // namespace vaultrix
