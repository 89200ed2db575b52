#include "engine/RunLog.h"

#include <limits>

namespace vaultrix {
namespace {

std::string recordHeader(const LocalTime& t) {
    // Built by appends: g++ 12 at -O3 warns falsely (-Wrestrict) about "[" + std::string.
    std::string header = "[";
    header += formatDate(t);
    header += ' ';
    header += formatTime(t);
    header += ']';
    return header;
}

}  // namespace

RunLog::RunLog(std::filesystem::path folder, const Clock& clock)
    : file_(std::move(folder)), clock_(clock) {}

std::filesystem::path RunLog::file() const {
    return file_.file();
}

Result<> RunLog::AppendRecord(const std::string& result, const std::string& name,
                              const std::string& action) {
    return file_.append({recordHeader(clock_.now()), "Sicherung=" + LogFile::recordText(action),
                         "Name=" + LogFile::recordText(name),
                         "Verlauf=" + LogFile::recordText(result), ""});
}

Result<> RunLog::TrimLog() {
    return file_.trim();
}

std::string RunLog::LoadLogText() const {
    return LoadLogEnd(std::numeric_limits<std::uintmax_t>::max()).text;
}

LogText RunLog::LoadLogEnd(std::uintmax_t maxBytes) const {
    return file_.loadEnd(maxBytes);
}

Result<> RunLog::DeleteLog() {
    return file_.remove();
}

}  // namespace vaultrix
