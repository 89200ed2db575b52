#include "engine/CopyFailures.h"

#include <utility>

namespace vaultrix {

CopyFailures::CopyFailures(CopyObserver& observer, const CopyDestination& destination)
    : observer_(observer), destination_(destination) {}

bool CopyFailures::report(Error error) {
    observer_.onFailure(error);
    if (!first_) first_ = std::move(error);
    return false;
}

bool CopyFailures::fail(const std::string& path, const std::string& reason) {
    return report(failure("'" + path + "' konnte nicht kopiert werden: " + reason, path));
}

bool CopyFailures::fail(const std::string& path, fs::OsCode code) {
    if (fs::entryNotFound(code)) {
        if (std::optional<Error> gone = destination_.gone()) {
            stopped_ = true;
            return report(std::move(*gone));
        }
    }
    if (code == fs::kOsCancelled || fs::destinationExhausted(code)) stopped_ = true;
    return fail(path, fs::osErrorReason(code));
}

Result<> CopyFailures::result() const {
    if (first_) return *first_;
    return success();
}

}  // namespace vaultrix
