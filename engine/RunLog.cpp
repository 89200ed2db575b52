#include "engine/RunLog.h"

#include <limits>

namespace vaultrix {

RunLog::RunLog(std::filesystem::path folder, const Clock& clock)
    : file_(std::move(folder)), clock_(clock) {}

std::filesystem::path RunLog::file() const {
    return file_.file();
}

Result<> RunLog::AppendRecord(const std::string& result, const std::string& name,
                              const std::string& action) {
    return file_.append(LogRecord{action, name, result, clock_.now()});
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
