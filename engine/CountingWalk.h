#pragma once

#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/CopyToFolder.h"

namespace vaultrix {

// The counting walk beside a run: the files and bytes the copies of these sources into the
// destination will have done when they are through, found by reading names and sizes only. It
// follows the copy's rules: links count as links and are never followed, devices, pipes and
// sockets are left out, and so is the destination where it lies inside a source; a source the
// copy refuses counts nothing. Nothing once `stop` is requested, which it tests at every entry.
std::optional<CopyProgress> countSources(const std::vector<std::string>& sources,
                                         const std::string& destination, std::stop_token stop);
// The same walk, asking `stopRequested` instead at every entry.
std::optional<CopyProgress> countSourcesUntil(const std::vector<std::string>& sources,
                                              const std::string& destination,
                                              const std::function<bool()>& stopRequested);

}  // namespace vaultrix
